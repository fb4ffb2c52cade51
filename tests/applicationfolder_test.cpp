// The application folder: the executable's folder when it can be written, otherwise a per-user folder seeded
// on its first use with the data files installed beside the program (or, for an installed copy, in
// share/spectrel), never overwriting a user's file.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Code/SPX_ApplicationFolder.h"
#include "settings_temp_folder.h"

namespace spectrel {
namespace {

namespace fs = std::filesystem;

// An install beside the program: the settings file, two brand lists, a template and an image, and files that
// are not data files.
void Install(const test::TempFolder& folder) {
    folder.Write("SPX.ini", "[Setup]\r\nSerial=COM2\r\n");
    folder.Write("TV.brd", "Sony\r\n");
    folder.Write("VCR.BRD", "Akai\r\n");
    folder.Write("spectrel", "program");
    folder.Write("readme.txt", "not data");
    fs::create_directories(folder.File("Button Templates"));
    folder.Write("Button Templates/TV.btn", "Power\r\n");
    fs::create_directories(folder.File("ButtonImages"));
    folder.Write("ButtonImages/POWER.bmp", "BM");
}

// Running as root, every folder can be written.
bool RunningAsRoot() { return ::geteuid() == 0; }

TEST(ApplicationFolder, DataFilesOfAnInstall) {
    test::TempFolder install;
    Install(install);
    EXPECT_EQ(ApplicationDataFiles(install.Folder()),
              (std::vector<std::string>{"Button Templates/TV.btn", "ButtonImages/POWER.bmp", "SPX.ini", "TV.brd",
                                        "VCR.BRD"}));
}

TEST(ApplicationFolder, WritableExecutableFolderIsUsed) {
    test::TempFolder install;
    test::TempFolder user;
    Install(install);
    const TApplicationFolder chosen = ChooseApplicationFolder(install.File(""), user.File("Spectrel"));
    EXPECT_FALSE(chosen.perUser);
    EXPECT_EQ(chosen.folder, install.Folder()) << "with a trailing separator";
    EXPECT_TRUE(chosen.seeded.empty());
    EXPECT_FALSE(fs::exists(user.File("Spectrel")));
}

TEST(ApplicationFolder, ReadOnlyInstallSeedsThePerUserFolderOnce) {
    test::TempFolder install;
    test::TempFolder user;
    Install(install);
    const std::string perUser = user.File("Spectrel");
    // The install folder is read-only (as in a system-wide install); the user's folder can be written.
    const auto readOnlyInstall = [&](const std::string& folder) { return folder != install.File(""); };

    const TApplicationFolder first = ChooseApplicationFolder(install.File(""), perUser, readOnlyInstall);
    EXPECT_TRUE(first.perUser);
    EXPECT_EQ(first.folder, perUser + "/");
    EXPECT_EQ(first.seeded, (std::vector<std::string>{"Button Templates/TV.btn", "ButtonImages/POWER.bmp", "SPX.ini",
                                                      "TV.brd", "VCR.BRD"}));
    EXPECT_TRUE(first.errors.empty());
    EXPECT_EQ(user.Read("Spectrel/SPX.ini"), "[Setup]\r\nSerial=COM2\r\n");
    EXPECT_FALSE(fs::exists(user.File("Spectrel/readme.txt")));

    // The user changes the settings and removes a brand list; the next start keeps both as they are.
    user.Write("Spectrel/SPX.ini", "[Setup]\r\nSerial=COM5\r\n");
    fs::remove(user.File("Spectrel/TV.brd"));
    const TApplicationFolder second = ChooseApplicationFolder(install.File(""), perUser, readOnlyInstall);
    EXPECT_TRUE(second.perUser);
    EXPECT_TRUE(second.seeded.empty());
    EXPECT_EQ(user.Read("Spectrel/SPX.ini"), "[Setup]\r\nSerial=COM5\r\n");
    EXPECT_FALSE(fs::exists(user.File("Spectrel/TV.brd")));
}

TEST(ApplicationFolder, PerUserFolderThatCannotBeMadeIsReported) {
    test::TempFolder install;
    test::TempFolder user;
    Install(install);
    user.Write("blocked", "a file where the folder should go");
    const TApplicationFolder chosen = ChooseApplicationFolder(
        install.File(""), user.File("blocked/Spectrel"), [](const std::string&) { return false; });
    EXPECT_TRUE(chosen.perUser);
    ASSERT_EQ(chosen.errors.size(), 1u);
    EXPECT_EQ(chosen.errors[0].rfind(user.File("blocked/Spectrel") + ": ", 0), 0u) << chosen.errors[0];
    EXPECT_TRUE(chosen.seeded.empty());
}

TEST(ApplicationFolder, SeedingNeverOverwritesAUsersFile) {
    test::TempFolder install;
    test::TempFolder user;
    Install(install);
    user.Write("SPX.ini", "mine");
    std::vector<std::string> errors;
    const std::vector<std::string> copied = SeedFolder(install.File(""), user.File(""), &errors);
    EXPECT_EQ(copied, (std::vector<std::string>{"Button Templates/TV.btn", "ButtonImages/POWER.bmp", "TV.brd",
                                                "VCR.BRD"}));
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(user.Read("SPX.ini"), "mine");
}

// An installed copy: the programs in <prefix>/bin, the data in <prefix>/share/spectrel.
void InstallSystemWide(const test::TempFolder& prefix) {
    fs::create_directories(prefix.File("bin"));
    prefix.Write("bin/spectrel", "program");
    fs::create_directories(prefix.File("share/spectrel/Button Templates"));
    prefix.Write("share/spectrel/SPX.ini", "[Setup]\r\nSerial=COM2\r\n");
    prefix.Write("share/spectrel/TV.brd", "Sony\r\n");
    prefix.Write("share/spectrel/Button Templates/TV.btn", "Power\r\n");
}

TEST(ApplicationFolder, InstalledDataIsFoundFromTheExecutable) {
    test::TempFolder prefix;
    InstallSystemWide(prefix);
    EXPECT_EQ(InstalledDataFolder(prefix.File("bin"), "../share/spectrel"), prefix.File("share/spectrel") + "/");
    EXPECT_EQ(InstalledDataFolder(prefix.File("bin/"), "../share/spectrel"), prefix.File("share/spectrel") + "/");
    EXPECT_EQ(InstalledDataFolder(prefix.File("bin"), "../share/other"), "") << "no data there";
    EXPECT_EQ(InstalledDataFolder(prefix.File("bin"), ""), "");

    // A build tree or a portable copy: the data lies beside the executable, which wins.
    test::TempFolder portable;
    Install(portable);
    fs::create_directories(portable.File("share"));
    portable.Write("share/SPX.ini", "[Setup]\r\n");
    EXPECT_EQ(InstalledDataFolder(portable.File(""), "share"), "");
}

TEST(ApplicationFolder, InstalledCopySeedsThePerUserFolderEvenWhenItsFoldersCanBeWritten) {
    test::TempFolder prefix;
    test::TempFolder user;
    InstallSystemWide(prefix);
    const std::string perUser = user.File("Spectrel");
    // Writable or not (an administrator, a temporary root), the installed data is never the one written.
    for (const bool writable : {true, false}) {
        SCOPED_TRACE(writable ? "writable install" : "read-only install");
        fs::remove_all(perUser);
        const TApplicationFolder chosen = ChooseProgramFolder(prefix.File("bin"), perUser, "../share/spectrel",
                                                              [&](const std::string&) { return writable; });
        EXPECT_TRUE(chosen.perUser);
        EXPECT_EQ(chosen.folder, perUser + "/");
        EXPECT_EQ(chosen.seeded, (std::vector<std::string>{"Button Templates/TV.btn", "SPX.ini", "TV.brd"}));
        EXPECT_TRUE(chosen.errors.empty());
        EXPECT_EQ(user.Read("Spectrel/Button Templates/TV.btn"), "Power\r\n");
    }
    EXPECT_FALSE(prefix.Exists("bin/SPX.ini"));

    // Without a per-user folder the installed data is read where it is.
    const TApplicationFolder none = ChooseProgramFolder(prefix.File("bin"), "", "../share/spectrel");
    EXPECT_FALSE(none.perUser);
    EXPECT_EQ(none.folder, prefix.File("share/spectrel") + "/");
}

TEST(ApplicationFolder, BuildTreeKeepsTheExecutableFolderRule) {
    test::TempFolder build;
    test::TempFolder user;
    Install(build);
    const TApplicationFolder chosen = ChooseProgramFolder(build.File(""), user.File("Spectrel"), "../share/spectrel");
    EXPECT_FALSE(chosen.perUser);
    EXPECT_EQ(chosen.folder, build.Folder());
}

TEST(ApplicationFolder, FolderWritability) {
    test::TempFolder folder;
    EXPECT_TRUE(FolderIsWritable(folder.File("")));
    EXPECT_TRUE(fs::is_empty(folder.File(""))) << "the probe file is removed again";
    EXPECT_FALSE(FolderIsWritable(folder.File("missing")));
    EXPECT_FALSE(FolderIsWritable(""));
    if (!RunningAsRoot()) {
        ::chmod(folder.File("").c_str(), 0555);
        EXPECT_FALSE(FolderIsWritable(folder.File("")));
        ::chmod(folder.File("").c_str(), 0755);
    }
}

}  // namespace
}  // namespace spectrel
