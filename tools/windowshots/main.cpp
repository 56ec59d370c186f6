// windowshots PROGRAM_FOLDER OUT_FOLDER
// Opens the main window on PROGRAM_FOLDER (which keeps its own search.txt,
// logo and animation), fills the lists with a few rows, and saves a picture
// of the window on each tab as OUT_FOLDER/tab-<n>.png, at its smallest and
// a large size, then the About, yield and find windows.
#include "app/TForm1.h"
#include "app/TfrmAbout.h"
#include "app/controls/PageControl.h"
#include "browse/ui/TFindDialog.h"
#include "platform/ColorScheme.h"
#include "platform/Dialogs.h"
#include "platform/ui/DesktopLook.h"
#include "platform/ui/UrlListView.h"
#include "search/ui/TfrmYield.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <iostream>

namespace
{

// Answers every box without showing it, so the pictures are not blocked.
class SilentDialogs final : public orv::Dialogs
{
public:
    void notice(const std::string& text) override { std::cerr << "notice: " << text << "\n"; }
    bool confirm(const std::string& text) override
    {
        std::cerr << "confirm: " << text << "\n";
        return true;
    }
    void error(const std::string& text) override { std::cerr << "error: " << text << "\n"; }
    std::optional<std::string> openFile(const orv::FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> saveFile(const orv::FileDialogRequest&) override { return std::nullopt; }
    bool print() override { return false; }
    bool printSetup() override { return false; }
};

// Lets the window lay itself out and paint.
void settle()
{
    QEventLoop loop;
    QTimer::singleShot(150, &loop, &QEventLoop::quit);
    loop.exec();
}

bool save(QWidget* window, const QString& path)
{
    settle();
    const bool ok = window->grab().save(path);
    std::cout << (ok ? "wrote " : "failed ") << path.toStdString() << "\n";
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: windowshots PROGRAM_FOLDER OUT_FOLDER\n");
        return 2;
    }
    std::string folder = argv[1];
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    const QString out = QString::fromLocal8Bit(argv[2]);

    // GTK_THEME=Adwaita:dark (or the desktop's setting) gives the dark pictures.
    orv::FollowDesktopPalette(app, orv::AskDesktopPrefersDark());
    SilentDialogs dialogs;
    orv::Dialogs::install(&dialogs);
    int failures = 0;
    {
        TForm1 form(folder);
        TfrmAbout about(&form);
        for (const char* url : { "http://www.example.com/gardening/roses.html", "http://plants.example.org/",
                 "http://www.example.net/tulips/index.htm", "http://bulbs.example.com/spring" })
            form.UpdateMasterUrlList(url);
        form.PopulateListBox();
        form.ListView1->setStatus(1, "Verified");
        form.ListView1->setChecked(1, true);
        form.ListView2->addRow("http://plants.example.org");
        form.memPrimarySearchCriteria->setPlainText(QStringLiteral("roses\ntulips"));
        form.show();
        settle();

        for (int i = 0; i < form.Page1->count(); ++i) {
            form.Page1->setCurrentIndex(i);
            form.Page1MouseDown();
            failures += save(&form, QStringLiteral("%1/tab-%2.png").arg(out).arg(i + 1)) ? 0 : 1;
        }
        form.Page1->setCurrentIndex(0);
        form.Page1MouseDown();
        form.resize(512, 256);
        failures += save(&form, out + QStringLiteral("/minimum.png")) ? 0 : 1;
        // Large again after the smallest size: both lists and every counter.
        form.resize(1280, 800);
        failures += save(&form, out + QStringLiteral("/large.png")) ? 0 : 1;
        form.Page1->setCurrentIndex(1);
        form.Page1MouseDown();
        failures += save(&form, out + QStringLiteral("/large-engines.png")) ? 0 : 1;
        form.Page1->setCurrentIndex(0);
        form.Page1MouseDown();
        form.mnuEditYield->setEnabled(true);
        form.mnuEditYield->trigger();
        failures += save(form.frmYield, out + QStringLiteral("/yield.png")) ? 0 : 1;
        form.spdFindClick();
        failures += save(form.FindDialog1, out + QStringLiteral("/find.png")) ? 0 : 1;
        form.mnuHelpAbout->trigger();
        failures += save(frmAbout, out + QStringLiteral("/about.png")) ? 0 : 1;
    }
    orv::Dialogs::install(nullptr);
    return failures == 0 ? 0 : 1;
}
