#include "batch/ui/BatchDialogs.h"

#include "core/Text.h"

#include <cstdio>

namespace orv
{

void BatchDialogs::notice(const std::string& text)
{
    ++notices;
    std::fprintf(stderr, "orvalen: %s\n", Trim(text).c_str());
}

bool BatchDialogs::confirm(const std::string& text)
{
    // Accepting typed criteria keeps them; every other question (view the
    // report, clear the entries) is answered so that nothing is started or lost.
    return text == "Save Search Criteria?";
}

void BatchDialogs::error(const std::string& text)
{
    ++errors;
    std::fprintf(stderr, "orvalen: %s\n", text.c_str());
}

void BatchDialogs::errorInFull(const std::string&, const std::string& fullText)
{
    error(fullText);
}

std::optional<std::string> BatchDialogs::takePath()
{
    if (nextPath.empty())
        return std::nullopt;
    std::string path;
    path.swap(nextPath);
    return path;
}

std::optional<std::string> BatchDialogs::openFile(const FileDialogRequest&)
{
    return takePath();
}

std::optional<std::string> BatchDialogs::saveFile(const FileDialogRequest&)
{
    return takePath();
}

} // namespace orv
