#pragma once
// The seam through which the program talks to the user in modal boxes:
// notices, questions, error reports and the common file dialogs. The real
// implementation uses Qt's dialogs; tests install a scripted one that answers
// and records every call. Texts are bytes as everywhere else.
#include <optional>
#include <string>

namespace orv
{

struct FileDialogRequest {
    std::string title; // empty: the platform's default title
    std::string filter; // "Results|*.rst" style, pairs separated by '|'
    std::string defaultExtension; // without the dot; empty for none
    std::string initialFolder; // may be empty
    std::string fileName; // proposed file name, may be empty
    bool confirmOverwrite = false;
};

// The answers to "save the changes first?".
enum class SaveChoice { Save, Discard, Cancel };

class Dialogs
{
public:
    virtual ~Dialogs() = default;

    // An information box with one OK button.
    virtual void notice(const std::string& text) = 0;
    // A confirmation box with OK and Cancel; true means OK.
    virtual bool confirm(const std::string& text) = 0;
    // An error box showing an error's text.
    virtual void error(const std::string& text) = 0;
    // An error that also has a full text naming its file and reason; the
    // window shows the error's own text, a reader without it the full one.
    virtual void errorInFull(const std::string& text, const std::string& fullText)
    {
        (void)fullText;
        error(text);
    }
    // The open and save dialogs; nullopt when the user cancels.
    virtual std::optional<std::string> openFile(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> saveFile(const FileDialogRequest& request) = 0;
    // The print dialog and the printer set-up dialog; false when cancelled.
    virtual bool print() = 0;
    virtual bool printSetup() = 0;
    // Asks whether to save changes before they are lost, with the buttons
    // Save, Discard and Cancel. A front end that cannot ask (a batch run)
    // keeps the default: nothing is asked, nothing kept.
    virtual SaveChoice askToSave(const std::string& text)
    {
        (void)text;
        return SaveChoice::Discard;
    }

    // The installed implementation. The program installs the Qt one at
    // start; tests install their own. Not owned.
    static Dialogs& current();
    static void install(Dialogs* dialogs);
};

} // namespace orv
