#pragma once
// Replacing a file only with a complete new one. The bytes go to a new file
// in the same folder and reach the disk before that file is renamed over the
// old one, so a full disk, a crash or a killed program leaves either the old
// file or the new one, each whole, never a truncated mix.
#include <string>
#include <string_view>

namespace orv {

// Writes `bytes` as the whole new content of the file at `path`, creating
// it when missing. An existing file keeps its permission bits; writing
// through a symbolic link replaces the file the link points to. A file that
// is not a regular file (a device, a pipe) is written in place, as there is
// nothing to rename over it.
//
// Failures throw EInOutError with the platform's text ("File access
// denied", "Disk full", ...); the old file is then untouched and no
// temporary file is left behind.
void ReplaceFileContents(const std::string& path, std::string_view bytes);

} // namespace orv
