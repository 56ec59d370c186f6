#pragma once
// Files as lists of lines. Reading splits at CR, LF and CR LF, and a NUL byte
// ends the text; writing ends every line with CR LF and replaces the file
// only with a complete new one (ReplaceFileContents). Failures throw
// EInOutError with the platform's text.
#include <string>
#include <string_view>
#include <vector>

namespace orv
{

using Lines = std::vector<std::string>;

// Splits text into lines as the file reader does.
Lines SplitLines(std::string_view text);

// Joins lines, each followed by CR LF.
std::string JoinLines(const Lines& lines);

Lines LoadLines(const std::string& path);
// A text file of the user's (results file, template, options, lists): read
// as UTF-8 when it is valid UTF-8, else as Windows-1252 (DecodeFileText).
Lines LoadTextLines(const std::string& path);
void SaveLines(const std::string& path, const Lines& lines);

// Whole-file byte helpers with the same error rules.
std::string LoadFileBytes(const std::string& path);
void SaveFileBytes(const std::string& path, std::string_view bytes);

bool FileExists(const std::string& path);
bool DeleteFile(const std::string& path);

} // namespace orv
