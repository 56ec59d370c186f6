// The real file dialogs hand names beyond ASCII to the file system as its
// own bytes: the folder the program proposes is the one shown, and the name
// the user types is the name the file gets.
#include "core/Lines.h"
#include "platform/ui/QtDialogs.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>

using namespace orv;

namespace
{

// Answers the next file dialog as a user would: notes the folder it shows,
// types `name` into its name box and accepts.
void answerNextDialog(const QString& name, QString* shownFolder)
{
    QTimer::singleShot(0, [=] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        *shownFolder = dialog->directory().absolutePath();
        if (auto* box = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            box->setText(name);
        static_cast<QDialog*>(dialog)->accept(); // the file dialog's own accept, reached through its base
    });
}

} // namespace

TEST(FileDialogNames, NamesBeyondAsciiReachTheFileSystemUnchanged)
{
    test::TempFolder temp;
    // "Programmé Ωμέγα/Reports" as the file system's UTF-8 bytes.
    const std::string folder = temp.file("Programm\xC3\xA9 \xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1/Reports");
    std::filesystem::create_directories(folder);
    QtDialogs dialogs;

    FileDialogRequest request;
    request.filter = "Rst Files |*.rst";
    request.defaultExtension = "rst";
    request.initialFolder = folder;
    QString shown;
    answerNextDialog(QStringLiteral("R\u00E9sultats \u0141\u00F3d\u017A.rst"), &shown);
    const std::optional<std::string> saved = dialogs.saveFile(request);
    EXPECT_EQ(shown, QString::fromUtf8(folder));
    ASSERT_TRUE(saved.has_value());
    const std::string expected = folder + "/R\xC3\xA9sultats \xC5\x81\xC3\xB3" "d\xC5\xBA.rst";
    EXPECT_EQ(*saved, expected);

    SaveLines(*saved, { "Primary", "0" });
    EXPECT_TRUE(std::filesystem::exists(expected));
    answerNextDialog(QStringLiteral("R\u00E9sultats \u0141\u00F3d\u017A.rst"), &shown);
    const std::optional<std::string> opened = dialogs.openFile(request);
    ASSERT_TRUE(opened.has_value());
    EXPECT_EQ(*opened, expected);
    EXPECT_EQ(LoadLines(*opened), (Lines { "Primary", "0" }));
}
