// Where the program folder is: beside the binary, in the user's data
// folder for an installed copy, or where --program-folder says.
#include "platform/ProgramFolderChoice.h"
#include "core/Lines.h"
#include "support/TempFolder.h"

#include <QDir>

#include <gtest/gtest.h>

namespace orv
{
namespace
{

TEST(ProgramFolderChoice, BesideAWritableBinaryElseTheUsersDataFolder)
{
    const ExecutableFolder ownFolder { "/home/u/orvalen/bin", true, false };
    const ExecutableFolder readOnly { "/opt/o/bin/", false, false };
    // A copy in a folder of its own works as it always did.
    EXPECT_EQ(chooseProgramFolder("", ownFolder, "", "/home/u").folder, "/home/u/orvalen/bin/");
    EXPECT_FALSE(chooseProgramFolder("", ownFolder, "", "/home/u").inUserDataFolder);
    // An install under /usr uses the data folder, even for root who could write there.
    const ProgramFolderChoice underUsr = chooseProgramFolder("", { "/usr/local/bin/", true, false }, "", "/root");
    EXPECT_EQ(underUsr.folder, "/root/.local/share/Orvalen/");
    EXPECT_TRUE(underUsr.inUserDataFolder);
    // So does a user's own install into a writable prefix such as ~/.local.
    EXPECT_EQ(chooseProgramFolder("", { "/home/u/.local/bin/", true, true }, "", "/home/u").folder,
        "/home/u/.local/share/Orvalen/");
    EXPECT_EQ(chooseProgramFolder("", readOnly, "/xdg/data", "/home/u").folder, "/xdg/data/Orvalen/");
    // A relative XDG_DATA_HOME is to be ignored.
    EXPECT_EQ(chooseProgramFolder("", readOnly, "rel/data", "/home/u").folder, "/home/u/.local/share/Orvalen/");
    // --program-folder overrides both.
    const ProgramFolderChoice requested
        = chooseProgramFolder("/srv/watch", { "/usr/bin/", false, true }, "/xdg", "/home/u");
    EXPECT_EQ(requested.folder, "/srv/watch/");
    EXPECT_FALSE(requested.inUserDataFolder);
    // Nowhere better to go: the binary's folder stays.
    EXPECT_EQ(chooseProgramFolder("", { "/usr/bin/", false, true }, "", "").folder, "/usr/bin/");
}

TEST(ProgramFolderChoice, FirstStartLaysOutTheFolderWithTheInstalledArtworkAndOptions)
{
    test::TempFolder prefix;
    QDir().mkpath(QString::fromStdString(prefix.file("bin")));
    QDir().mkpath(QString::fromStdString(prefix.file("share/orvalen")));
    prefix.write("share/orvalen/logo.jpg", "jpeg bytes");
    prefix.write("share/orvalen/search.txt", "options");
    const std::string folder = prefix.file("home/.local/share/Orvalen/");
    ASSERT_TRUE(layOutProgramFolder(folder, installedArtworkFolder(prefix.file("bin"))));
    for (const char* sub : { "data", "Reports", "Templates" })
        EXPECT_TRUE(QDir(QString::fromStdString(folder + sub)).exists()) << sub;
    EXPECT_EQ(LoadFileBytes(folder + "logo.jpg"), "jpeg bytes");
    EXPECT_EQ(LoadFileBytes(folder + "search.txt"), "options");
    EXPECT_FALSE(FileExists(folder + "orvalen.avi")) << "missing artwork is left out";
    // A later start keeps what the user's folder holds.
    SaveFileBytes(folder + "logo.jpg", "own logo");
    ASSERT_TRUE(layOutProgramFolder(folder, installedArtworkFolder(prefix.file("bin"))));
    EXPECT_EQ(LoadFileBytes(folder + "logo.jpg"), "own logo");
    // The help file is the program's, not the user's: a newer install's replaces it.
    prefix.write("share/orvalen/Orvalen.html", "help of the new install");
    SaveFileBytes(folder + "Orvalen.html", "help of the old install");
    ASSERT_TRUE(layOutProgramFolder(folder, installedArtworkFolder(prefix.file("bin"))));
    EXPECT_EQ(LoadFileBytes(folder + "Orvalen.html"), "help of the new install");
    // A folder that cannot be made (a file stands in the way) says so.
    prefix.write("blocked", "x");
    EXPECT_FALSE(layOutProgramFolder(prefix.file("blocked/Orvalen"), prefix.file("share/orvalen")));
}

} // namespace
} // namespace orv
