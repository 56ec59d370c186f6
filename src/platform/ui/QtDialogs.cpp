#include "platform/ui/QtDialogs.h"

#include "platform/FileNames.h"
#include "platform/WidgetText.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace orv
{
namespace
{

// "Results|*.rst|Templates|*.cri" becomes "Results (*.rst);;Templates (*.cri)".
QString qtFilter(const std::string& filter)
{
    const QStringList parts = toQ(filter).split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out << parts[i] + QStringLiteral(" (") + QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '))
                + QLatin1Char(')');
    return out.join(QStringLiteral(";;"));
}

QFileDialog* makeDialog(QWidget* parent, const FileDialogRequest& r, bool save)
{
    auto* dialog = new QFileDialog(parent, toQ(r.title), pathToQ(r.initialFolder), qtFilter(r.filter));
    dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!r.defaultExtension.empty())
        dialog->setDefaultSuffix(toQ(r.defaultExtension));
    if (!r.fileName.empty())
        dialog->selectFile(pathToQ(r.fileName));
    if (save && !r.confirmOverwrite)
        dialog->setOption(QFileDialog::DontConfirmOverwrite);
    return dialog;
}

std::optional<std::string> runDialog(QFileDialog* dialog)
{
    std::optional<std::string> chosen;
    if (dialog->exec() == QDialog::Accepted && !dialog->selectedFiles().isEmpty())
        chosen = pathFromQ(dialog->selectedFiles().constFirst());
    delete dialog;
    return chosen;
}

} // namespace

void QtDialogs::notice(const std::string& text)
{
    QMessageBox::information(parent_, QStringLiteral("Orvalen"), toQ(text));
}

bool QtDialogs::confirm(const std::string& text)
{
    return QMessageBox::question(
               parent_, QStringLiteral("Confirm"), toQ(text), QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok)
        == QMessageBox::Ok;
}

SaveChoice QtDialogs::askToSave(const std::string& text)
{
    const auto answer = QMessageBox::warning(parent_, QStringLiteral("Orvalen"), toQ(text),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    return answer == QMessageBox::Save   ? SaveChoice::Save
        : answer == QMessageBox::Discard ? SaveChoice::Discard
                                         : SaveChoice::Cancel;
}

void QtDialogs::error(const std::string& text)
{
    QMessageBox::critical(parent_, QStringLiteral("Error"), toQ(text));
}

std::optional<std::string> QtDialogs::openFile(const FileDialogRequest& request)
{
    return runDialog(makeDialog(parent_, request, false));
}

std::optional<std::string> QtDialogs::saveFile(const FileDialogRequest& request)
{
    return runDialog(makeDialog(parent_, request, true));
}

bool QtDialogs::print()
{
    if (!printer_)
        return false;
    QPrintDialog dialog(printer_, parent_);
    return dialog.exec() == QDialog::Accepted;
}

bool QtDialogs::printSetup()
{
    if (!printer_)
        return false;
    QPageSetupDialog dialog(printer_, parent_);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace orv
