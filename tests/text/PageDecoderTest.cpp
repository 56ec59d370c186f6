// Pages decoded by their own character set, however it is declared, and
// however the bytes are cut into pieces on the way.
#include "text/PageDecoder.h"

#include "text/FoldedText.h"

#include <gtest/gtest.h>

namespace orv
{
namespace
{

using namespace std::string_literals;

std::string decodeInPieces(std::string_view contentType, std::string_view bytes, size_t pieceSize)
{
    PageDecoder decoder(contentType);
    std::string out;
    for (size_t at = 0; at < bytes.size(); at += pieceSize)
        decoder.add(bytes.substr(at, pieceSize), out);
    decoder.finish(out);
    return out;
}

struct Encoded {
    const char* name;
    const char* label; // as a page declares it
    std::string bytes; // the text in that set
    std::string utf8; // the same text
};

const Encoded kEncoded[] = {
    { "Utf8", "utf-8", "\xCF\x89\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1 \xE6\x9D\xB1\xE4\xBA\xAC",
        "\xCF\x89\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1 \xE6\x9D\xB1\xE4\xBA\xAC" },
    { "Windows1252", "windows-1252", "caf\xE9 \x80 \x93q\x94", "caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x9Cq\xE2\x80\x9D" },
    { "ShiftJis", "Shift_JIS", "\x93\x8C\x8B\x9E\x83\x5E\x83\x8F\x81\x5B",
        "\xE6\x9D\xB1\xE4\xBA\xAC\xE3\x82\xBF\xE3\x83\xAF\xE3\x83\xBC" },
    { "Koi8r", "KOI8-R", "\xF0\xD2\xC9\xD7\xC5\xD4 \xCD\xC9\xD2",
        "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 \xD0\xBC\xD0\xB8\xD1\x80" },
};

enum class Declared { Header, MetaCharset, MetaHttpEquiv };

struct DecodeCase {
    Encoded text;
    Declared declared;
};

class DeclaredCharset : public ::testing::TestWithParam<DecodeCase>
{
};

// Every set, declared each of the three ways, gives the same UTF-8 whether
// the page comes whole, in pieces of two bytes or byte by byte.
TEST_P(DeclaredCharset, DecodesThePageInAnyPieces)
{
    const DecodeCase& c = GetParam();
    std::string contentType = "text/html";
    std::string head = "<html><head>";
    if (c.declared == Declared::Header)
        contentType += "; charset=\""s + c.text.label + "\"";
    else if (c.declared == Declared::MetaCharset)
        head += "<!-- <meta charset=iso-8859-5> --><meta charset='"s + c.text.label + "'>";
    else
        head += "<META CONTENT=\"text/html; charset="s + c.text.label + "\" http-equiv=\"Content-Type\">";
    const std::string page = head + "</head><body>" + c.text.bytes + "</body></html>";
    const std::string expected = head + "</head><body>" + c.text.utf8 + "</body></html>";
    for (const size_t piece : { page.size(), size_t { 2 }, size_t { 1 } })
        EXPECT_EQ(decodeInPieces(contentType, page, piece), expected) << "pieces of " << piece;
}

std::vector<DecodeCase> allDeclarations()
{
    std::vector<DecodeCase> cases;
    for (const Encoded& e : kEncoded)
        for (const Declared d : { Declared::Header, Declared::MetaCharset, Declared::MetaHttpEquiv })
            cases.push_back({ e, d });
    return cases;
}

std::string declaredName(const ::testing::TestParamInfo<DecodeCase>& info)
{
    static const char* const kHow[] = { "Header", "MetaCharset", "MetaHttpEquiv" };
    return std::string(info.param.text.name) + kHow[static_cast<int>(info.param.declared)];
}

INSTANTIATE_TEST_SUITE_P(PageDecoder, DeclaredCharset, ::testing::ValuesIn(allDeclarations()), declaredName);

struct SniffCase {
    const char* name;
    std::string contentType;
    std::string page;
    std::string utf8;
};

class UndeclaredOrLying : public ::testing::TestWithParam<SniffCase>
{
};

TEST_P(UndeclaredOrLying, DecodesWithoutFailing)
{
    const SniffCase& c = GetParam();
    EXPECT_EQ(decodeInPieces(c.contentType, c.page, c.page.size()), c.utf8);
    EXPECT_EQ(decodeInPieces(c.contentType, c.page, 1), c.utf8);
}

INSTANTIATE_TEST_SUITE_P(PageDecoder, UndeclaredOrLying,
    ::testing::Values(SniffCase { "ValidUtf8IsUtf8", "text/html", "a \xE2\x80\x99 b", "a \xE2\x80\x99 b" },
        SniffCase { "OtherBytesAreWindows1252", "", "caf\xE9", "caf\xC3\xA9" },
        SniffCase { "Utf8BomIsDropped", "", "\xEF\xBB\xBFok \xC3\xA9", "ok \xC3\xA9" },
        SniffCase { "Utf16LittleEndianBom", "", "\xFF\xFEh\0i\0"s, "hi" },
        SniffCase { "HeaderComesBeforeTheMeta", "text/html;charset=koi8-r", "<meta charset=utf-8>\xF0",
            "<meta charset=utf-8>\xD0\x9F" },
        SniffCase { "UnknownHeaderLabelFallsThrough", "text/html; charset=x-no-such", "caf\xE9", "caf\xC3\xA9" },
        SniffCase { "MetaUtf16MeansUtf8", "", "<meta charset=utf-16>\xC3\xA9", "<meta charset=utf-16>\xC3\xA9" },
        SniffCase { "LyingUtf8HeaderGivesReplacement", "text/html; charset=utf-8", "caf\xE9!", "caf\xEF\xBF\xBD!" },
        SniffCase { "CutSequenceAtTheEndGivesReplacement", "text/html; charset=utf-8", "a\xE6\x9D", "a\xEF\xBF\xBD" },
        SniffCase { "LyingShiftJisGivesReplacement", "text/html; charset=shift_jis", "\x93\x8C\xFF",
            "\xE6\x9D\xB1\xEF\xBF\xBD" }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PageDecoder, UndeclaredPageTurnsWindows1252AtItsFirstNonUtf8ByteAfterThePrescan)
{
    const std::string start(1100, 'a');
    const std::string page = start + "\xC3\xA9 caf\xE9";
    EXPECT_EQ(decodeInPieces("", page, 7), start + "\xC3\xA9 caf\xC3\xA9");
}

struct FoldCase {
    const char* name;
    std::string a;
    std::string b;
    bool same;
};

class Folding : public ::testing::TestWithParam<FoldCase>
{
};

TEST_P(Folding, ComparesByCaseFoldingOnNfc)
{
    const FoldCase& c = GetParam();
    EXPECT_EQ(Folded(c.a) == Folded(c.b), c.same) << Folded(c.a) << " / " << Folded(c.b);
}

INSTANTIATE_TEST_SUITE_P(FoldedText, Folding,
    ::testing::Values(FoldCase { "CombiningAccentIsPrecomposed", "cafe\xCC\x81", "CAF\xC3\x89", true },
        FoldCase { "AccentsAreKept", "cafe", "caf\xC3\xA9", false },
        FoldCase { "SharpSFoldsToSs",
            "stra\xC3\x9F"
            "e",
            "STRASSE", true },
        FoldCase { "AsciiOnlyLowered", "Hello World", "hello world", true }),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace orv
