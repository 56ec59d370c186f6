// Lines read piece by piece: the same lines as splitting the whole text,
// wherever the pieces are cut, with memory for one line only.
#include "core/Errors.h"
#include "core/LineReader.h"
#include "core/Lines.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace orv
{
namespace
{

using namespace std::string_literals;

Lines splitInPieces(std::string_view text, size_t pieceSize)
{
    Lines lines;
    const LineHandler collect = [&lines](std::string_view line) {
        lines.emplace_back(line);
        return true;
    };
    LineSplitter splitter;
    for (size_t at = 0; at < text.size(); at += pieceSize)
        if (!splitter.feed(text.substr(at, pieceSize), collect))
            break;
    splitter.finish(collect);
    return lines;
}

TEST(LineSplitter, GivesTheLinesOfTheWholeTextWhereverThePiecesAreCut)
{
    const std::string texts[] = {
        "",
        "one line",
        "a\nb\r\nc\rd",
        "ends in LF\n",
        "ends in CR\r",
        "CR LF at the end\r\n",
        "\n\nempty lines\r\n\r\n\rbetween\n",
        "CR CR LF\r\r\nnext",
        "before NUL\0after\nmore"s,
        "line\n\0after"s,
        "CR then NUL\r\0\nhidden"s,
        "\0only hidden"s,
    };
    for (const std::string& text : texts)
        for (size_t piece : { 1, 2, 3, 5, 64 })
            EXPECT_EQ(splitInPieces(text, piece), SplitLines(text)) << testing::PrintToString(text) << " " << piece;
}

TEST(LineSplitter, StopsWhenTheHandlerSaysSoAndHoldsOneLineOnly)
{
    std::string text;
    for (int i = 0; i < 1000; ++i)
        text += std::string(999, 'x') + "\n";
    LineSplitter splitter;
    size_t seen = 0, largestHeld = 0;
    const LineHandler upToTen = [&seen](std::string_view) { return ++seen < 10; };
    for (size_t at = 0; at < text.size(); at += 4096) {
        if (!splitter.feed(std::string_view(text).substr(at, 4096), upToTen))
            break;
        largestHeld = std::max(largestHeld, splitter.pendingBytes());
    }
    splitter.finish(upToTen);
    EXPECT_EQ(seen, 10u);
    EXPECT_LT(largestHeld, 1000u);
}

TEST(ForEachLineOfFile, ReadsTheFileInPiecesAndFailsLikeLoadLines)
{
    test::TempFolder folder;
    const std::string text = "first\r\nsecond\rthird\n" + std::string(70000, 'y') + "\nlast";
    folder.write("page", text);
    Lines lines;
    ForEachLineOfFile(
        folder.file("page"),
        [&lines](std::string_view line) {
            lines.emplace_back(line);
            return true;
        },
        7);
    EXPECT_EQ(lines, SplitLines(text));

    const LineHandler ignore = [](std::string_view) { return true; };
    EXPECT_THROW(ForEachLineOfFile(folder.file("missing"), ignore), EInOutError);
    EXPECT_THROW(ForEachLineOfFile(folder.path(), ignore), EInOutError);
}

} // namespace
} // namespace orv
