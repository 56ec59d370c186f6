#pragma once
// Where the program folder (data/, Reports/, Templates/, search.txt) is. A
// copy run from a folder of its own keeps everything beside the binary. An
// installed copy cannot: its binary stands in a system folder, so it uses
// the user's data folder ($XDG_DATA_HOME/Orvalen, by default
// ~/.local/share/Orvalen) and lays it out on first start.
#include <string>

namespace orv
{

struct ProgramFolderChoice {
    std::string folder; // ends in "/"
    bool inUserDataFolder = false; // lay out data/, Reports/, Templates/ when missing
};

// What is known about the running binary's folder.
struct ExecutableFolder {
    std::string path;
    bool writable = false;
    // The binary was installed (<prefix>/bin beside <prefix>/share/orvalen/),
    // so its folder is shared by every user of the prefix, even a writable
    // one such as ~/.local/bin.
    bool installed = false;
};

// `requested` (--program-folder) wins when not empty. Otherwise the binary's
// folder, unless it cannot be written, is a system folder (under /usr, /bin
// or /sbin, where even root must not keep data) or belongs to an install.
// `xdgDataHome` counts only when absolute; without it and without `home` the
// binary's folder stays.
ProgramFolderChoice chooseProgramFolder(const std::string& requested, const ExecutableFolder& executable,
    const std::string& xdgDataHome, const std::string& home);

// Creates `folder` and its data/, Reports/ and Templates/ where missing,
// and copies the animation and the logo from `artworkFolder` (the installed
// share/orvalen/) when the folder lacks them. Returns false when a folder
// cannot be created; missing artwork only leaves the pictures out.
bool layOutProgramFolder(const std::string& folder, const std::string& artworkFolder);

// Where an installed binary's artwork lies: <prefix>/share/orvalen/ for a
// binary in <prefix>/bin/.
std::string installedArtworkFolder(const std::string& executableFolder);

} // namespace orv
