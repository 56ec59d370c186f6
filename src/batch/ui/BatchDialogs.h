#pragma once
// The dialogs of a batch run. Nobody is there to answer, so: file dialogs
// answer the path the command line named for the step at hand, questions get
// the answer that keeps data (no report viewer is started, nothing is
// cleared), and notices and errors go to standard error and are counted, so
// that the step that met them counts as failed.
#include "platform/Dialogs.h"

#include <string>

namespace orv
{

class BatchDialogs final : public Dialogs
{
public:
    // The path the next open or save dialog answers; taken by that dialog.
    std::string nextPath;
    int errors = 0;
    int notices = 0;

    void notice(const std::string& text) override;
    bool confirm(const std::string& text) override;
    void error(const std::string& text) override;
    // The full text: the file, the line and the system's reason.
    void errorInFull(const std::string& text, const std::string& fullText) override;
    std::optional<std::string> openFile(const FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const FileDialogRequest& request) override;
    bool print() override { return false; }
    bool printSetup() override { return false; }

private:
    std::optional<std::string> takePath();
};

} // namespace orv
