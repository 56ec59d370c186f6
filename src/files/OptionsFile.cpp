#include "files/OptionsFile.h"

#include "core/Text.h"

#include <algorithm>

namespace orv
{

std::array<std::string, kEngineCount> Options::defaultMaxTexts()
{
    std::array<std::string, kEngineCount> texts;
    for (Engine e : kAllEngines)
        texts[static_cast<size_t>(engineIndex(e))] = e == Engine::NetfindAol ? "10" : "20";
    return texts;
}

std::string OptionFlagText(bool flag)
{
    return flag ? "true" : "false";
}

bool OptionFlagFromText(const std::string& line)
{
    return line == "true";
}

int ParallelFetchesFromText(const std::string& line)
{
    int value = 0;
    if (!TryStrToInt(line, value))
        return kParallelFetchesDefault;
    return std::clamp(value, kParallelFetchesMin, kParallelFetchesMax);
}

std::string MatchOnText(MatchOn on)
{
    return on == MatchOn::PageText ? "page text" : "page source";
}

MatchOn MatchOnFromText(const std::string& line)
{
    return line == "page text" ? MatchOn::PageText : MatchOn::PageSource;
}

Lines OptionsToLines(const Options& options)
{
    Lines lines;
    lines.reserve(kOptionsLineCount);
    for (Engine e : kOptionsFlagOrder)
        lines.push_back(OptionFlagText(options.isSelected(e)));
    lines.push_back(OptionFlagText(options.useProxy));
    lines.push_back(options.proxy);
    lines.push_back(options.proxyPort);
    lines.push_back(options.maxSeconds);
    for (Engine e : kOptionsMaxOrder)
        lines.push_back(options.maxOf(e));
    lines.push_back(IntToStr(options.parallelFetches));
    lines.push_back(OptionFlagText(options.http11));
    lines.push_back(MatchOnText(options.matchOn));
    return lines;
}

namespace
{

// One line of the file, or the error a list raises when read past its end.
const std::string& lineAt(const Lines& lines, int index)
{
    if (index < 0 || static_cast<size_t>(index) >= lines.size())
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return lines[static_cast<size_t>(index)];
}

} // namespace

void OptionsFromLines(const Lines& lines, Options& options)
{
    int index = 0;
    for (Engine e : kOptionsFlagOrder)
        options.selected[static_cast<size_t>(engineIndex(e))] = OptionFlagFromText(lineAt(lines, index++));
    options.useProxy = OptionFlagFromText(lineAt(lines, index++));
    options.proxy = lineAt(lines, index++);
    options.proxyPort = lineAt(lines, index++);
    options.maxSeconds = lineAt(lines, index++);
    for (Engine e : kOptionsMaxOrder)
        options.maxOf(e) = lineAt(lines, index++);
    const auto present = [&lines](int at) { return static_cast<size_t>(at) < lines.size(); };
    options.parallelFetches = present(index) ? ParallelFetchesFromText(lineAt(lines, index)) : kParallelFetchesDefault;
    ++index;
    options.http11 = present(index) && OptionFlagFromText(lineAt(lines, index));
    ++index;
    options.matchOn = present(index) ? MatchOnFromText(lineAt(lines, index)) : MatchOn::PageSource;
}

bool OptionsFileHolds(const Lines& fileLines, const Options& options)
{
    Options stored;
    try {
        OptionsFromLines(fileLines, stored);
    } catch (const EListError&) {
        return false;
    }
    return OptionsToLines(stored) == OptionsToLines(options);
}

std::string CannotOpenFileText(const std::string& path)
{
    return "Cannot open file " + path;
}

std::string CannotCreateFileText(const std::string& path)
{
    return "Cannot create file " + path;
}

} // namespace orv
