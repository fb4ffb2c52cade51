#pragma once
// The application folder: where "SPX.ini", the brand lists (*.brd), the "Button Templates" folder and the
// "ButtonImages" folder live. The executable's folder when it can be written (a build tree, a portable
// install); otherwise a per-user data folder, seeded on its first use with copies of the data files installed
// beside the program. A file the user already has is never overwritten.

#include <functional>
#include <string>
#include <vector>

namespace spectrel {

struct TApplicationFolder {
    std::string folder;                // with a trailing path separator
    bool perUser = false;              // the per-user folder was chosen
    std::vector<std::string> seeded;   // files copied into the per-user folder, relative to it
    std::vector<std::string> errors;   // copies that failed ("Button Templates/TV.btn: why")
};

// True when a file can be created in `folder` (tried with a probe file that is removed again).
bool FolderIsWritable(const std::string& folder);

// The data files of an application folder that a per-user folder is seeded with, relative to it: "SPX.ini",
// every "*.brd", and everything in "Button Templates" and "ButtonImages".
std::vector<std::string> ApplicationDataFiles(const std::string& folder);

// Copies the data files of `from` that `to` does not have yet; returns the copies made (relative paths).
std::vector<std::string> SeedFolder(const std::string& from, const std::string& to, std::vector<std::string>* errors);

// Chooses the application folder: `executableFolder` when writable, else `perUserFolder` (for example the
// per-user application data location), created when missing and seeded on its first use (while it is missing
// or empty). `isWritable` decides whether a folder can be written.
TApplicationFolder ChooseApplicationFolder(const std::string& executableFolder, const std::string& perUserFolder,
                                           const std::function<bool(const std::string&)>& isWritable =
                                               FolderIsWritable);

// The shipped data of an installed copy, kept apart from its executables: `executableFolder` followed by
// `relativeDataFolder` ("../share/spectrel" for executables in "<prefix>/bin"), with a trailing separator, when
// that folder holds "SPX.ini" and `executableFolder` does not. Empty for a build tree or a portable copy, whose
// data lies beside the executable.
std::string InstalledDataFolder(const std::string& executableFolder, const std::string& relativeDataFolder);

// The program's application folder. An installed copy (see InstalledDataFolder) uses `perUserFolder`, seeded on
// its first use from the installed data, which itself is never written; when there is no per-user folder, the
// installed data folder. Otherwise as ChooseApplicationFolder.
TApplicationFolder ChooseProgramFolder(const std::string& executableFolder, const std::string& perUserFolder,
                                       const std::string& relativeDataFolder,
                                       const std::function<bool(const std::string&)>& isWritable = FolderIsWritable);

}  // namespace spectrel
