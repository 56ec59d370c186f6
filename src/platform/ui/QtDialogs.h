#pragma once
#include "platform/Dialogs.h"

class QWidget;
class QPrinter;

namespace orv
{

// Dialogs shown with Qt's message boxes and file and print dialogs, parented
// to the main window when one is set.
class QtDialogs final : public Dialogs
{
public:
    void setParent(QWidget* parent) { parent_ = parent; }
    // The printer the print dialogs configure; owned by the caller.
    void setPrinter(QPrinter* printer) { printer_ = printer; }

    void notice(const std::string& text) override;
    bool confirm(const std::string& text) override;
    void error(const std::string& text) override;
    std::optional<std::string> openFile(const FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const FileDialogRequest& request) override;
    bool print() override;
    bool printSetup() override;
    SaveChoice askToSave(const std::string& text) override;

private:
    QWidget* parent_ = nullptr;
    QPrinter* printer_ = nullptr;
};

} // namespace orv
