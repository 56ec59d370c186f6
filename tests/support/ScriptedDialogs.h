#pragma once
// A Dialogs implementation for tests: every call is recorded as one line
// ("notice: text", "confirm: text", "error: text", "open: title", ...) and
// answered from queues the test fills. An unscripted question answers OK,
// an unscripted file dialog is cancelled.
#include "platform/Dialogs.h"

#include <deque>
#include <string>
#include <vector>

namespace orv::test
{

class ScriptedDialogs final : public Dialogs
{
public:
    ScriptedDialogs() { Dialogs::install(this); }
    ~ScriptedDialogs() override { Dialogs::install(nullptr); }

    std::vector<std::string> calls;
    std::deque<bool> confirmAnswers;
    std::deque<std::optional<std::string>> fileAnswers;
    std::deque<bool> printAnswers;
    std::deque<SaveChoice> saveChoices; // unscripted: Discard
    std::vector<FileDialogRequest> fileRequests;

    void notice(const std::string& text) override { calls.push_back("notice: " + text); }
    bool confirm(const std::string& text) override
    {
        calls.push_back("confirm: " + text);
        return take(confirmAnswers, true);
    }
    void error(const std::string& text) override { calls.push_back("error: " + text); }
    std::optional<std::string> openFile(const FileDialogRequest& request) override
    {
        calls.push_back("open: " + request.title);
        fileRequests.push_back(request);
        return take(fileAnswers, std::optional<std::string>());
    }
    std::optional<std::string> saveFile(const FileDialogRequest& request) override
    {
        calls.push_back("save: " + request.title);
        fileRequests.push_back(request);
        return take(fileAnswers, std::optional<std::string>());
    }
    bool print() override
    {
        calls.push_back("print");
        return take(printAnswers, true);
    }
    bool printSetup() override
    {
        calls.push_back("printSetup");
        return take(printAnswers, true);
    }

    SaveChoice askToSave(const std::string& text) override
    {
        calls.push_back("save changes: " + text);
        return take(saveChoices, SaveChoice::Discard);
    }

private:
    template <typename T> static T take(std::deque<T>& queue, T fallback)
    {
        if (queue.empty())
            return fallback;
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};

} // namespace orv::test
