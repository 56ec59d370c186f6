#include "files/ResultsFile.h"

#include "core/Lines.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace orv;

namespace
{

const CriteriaSections kCriteria { { "red apple", "", "\"pie\"" }, { "crust" }, { "cherry", "plum" } };

} // namespace

TEST(CriteriaTemplate, WritesTheCountedSectionsAndEndData)
{
    const CriteriaSections c { { "solar panel", "wind" }, {}, { "coal" } };
    EXPECT_EQ(writeCriteriaTemplate(c),
        (Lines { "Primary", "2", "solar panel", "wind", "Secondary", "0", "Exclusion", "1", "coal", "End Data" }));
    EXPECT_EQ(writeCriteriaTemplate({}), (Lines { "Primary", "0", "Secondary", "0", "Exclusion", "0", "End Data" }));
}

TEST(CriteriaTemplate, ReadsBackWhatWasWrittenAndIgnoresTheRest)
{
    Lines file = writeCriteriaTemplate(kCriteria);
    file.insert(file.end() - 1, { "MasterUrl", "nonsense" });
    const FileRead read = readCriteriaTemplate(file);
    EXPECT_TRUE(read.complete());
    EXPECT_EQ(read.criteria, kCriteria);
    EXPECT_TRUE(read.master.empty());
}

TEST(CriteriaTemplate, ReadsAResultsFileAsItsFirstThreeSections)
{
    const Lines file = writeResultsFile(kCriteria, { { "http://a,,,,,0,,,,,0", true, "Verified" } }, { "http://a" });
    const FileRead read = readCriteriaTemplate(file);
    EXPECT_TRUE(read.complete());
    EXPECT_EQ(read.criteria, kCriteria);
    EXPECT_TRUE(read.master.empty());
    EXPECT_TRUE(read.approved.empty());
}

struct StatusCase {
    const char* text;
    char digit;
};

void PrintTo(const StatusCase& c, std::ostream* os)
{
    *os << c.text;
}

class StatusDigits : public ::testing::TestWithParam<StatusCase>
{
};

TEST_P(StatusDigits, MapTheStatusColumnText)
{
    EXPECT_EQ(statusDigitForText(GetParam().text), GetParam().digit) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(All, StatusDigits,
    ::testing::Values(StatusCase { "Verified", '1' }, StatusCase { "Timeout", '2' }, StatusCase { "Error", '3' },
        StatusCase { "Site Not Found", '4' }, StatusCase { "File Not Found", '5' }, StatusCase { "Not Verified", '0' },
        StatusCase { "UnVerified", '0' }, StatusCase { "verified", '0' }, StatusCase { "Retrieving...", '0' },
        StatusCase { "", '0' }));

struct MasterLineCase {
    const char* name;
    MasterRowState row;
    const char* line;
};

void PrintTo(const MasterLineCase& c, std::ostream* os)
{
    *os << c.name;
}

class MasterLines : public ::testing::TestWithParam<MasterLineCase>
{
};

TEST_P(MasterLines, TakeTickAndStatusFromTheRow)
{
    EXPECT_EQ(savedMasterLine(GetParam().row), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(All, MasterLines,
    ::testing::Values(MasterLineCase { "RowWinsOverStoredDigits", { "http://a.com,,,,,0,,,,,0", true, "Timeout" },
                          "http://a.com,,,,,1,,,,,2" },
        MasterLineCase {
            "UntickedUnverified", { "http://a.com,,,,,1,,,,,1", false, "UnVerified" }, "http://a.com,,,,,0,,,,,0" },
        // Regression: the URL was cut at its first comma, losing the rest of it.
        MasterLineCase { "CommaInUrlKept", { "http://a.com/x,y?q=1,2,,,,,0,,,,,0", false, "Verified" },
            "http://a.com/x,y?q=1,2,,,,,0,,,,,1" },
        MasterLineCase { "NoSeparatorGivesEmptyUrl", { "http://a.com", true, "Error" }, ",,,,,1,,,,,3" }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ResultsFile, WritesEverySectionInOrder)
{
    const Lines file = writeResultsFile({ { "w" }, {}, { "x" } },
        { { "http://a,,,,,0,,,,,0", false, "Not Verified" }, { "http://b,,,,,0,,,,,0", true, "Site Not Found" } },
        { "http://b" });
    EXPECT_EQ(file,
        (Lines { "Primary", "1", "w", "Secondary", "0", "Exclusion", "1", "x", "MasterUrl", "2", "http://a,,,,,0,,,,,0",
            "http://b,,,,,1,,,,,4", "ApprovedUrl", "1", "http://b", "End Data" }));
}

TEST(ResultsFile, RoundTripsCriteriaAndBothLists)
{
    const std::vector<MasterRowState> rows
        = { { "http://a/x,y,,,,,0,,,,,0", true, "File Not Found" }, { "http://b,,,,,1,,,,,0", false, "Verified" } };
    const Lines approved = { "http://b", "http://q\"uote" };
    const FileRead read = readResultsFile(writeResultsFile(kCriteria, rows, approved));
    EXPECT_TRUE(read.complete());
    EXPECT_EQ(read.error, "");
    EXPECT_EQ(read.criteria, kCriteria);
    EXPECT_EQ(read.master, (Lines { "http://a/x,y,,,,,1,,,,,5", "http://b,,,,,0,,,,,1" }));
    EXPECT_EQ(read.approved, approved);
}

struct ReadCase {
    const char* name;
    Lines file;
    FileSection stoppedAt;
    const char* error;
    CriteriaSections criteria;
    Lines master;
    Lines approved;
};

void PrintTo(const ReadCase& c, std::ostream* os)
{
    *os << c.name;
}

class ResultsFileReads : public ::testing::TestWithParam<ReadCase>
{
};

TEST_P(ResultsFileReads, KeepWhatWasReadBeforeTheStop)
{
    const ReadCase& c = GetParam();
    const FileRead read = readResultsFile(c.file);
    EXPECT_EQ(read.stoppedAt, c.stoppedAt);
    EXPECT_EQ(read.error, c.error);
    EXPECT_EQ(read.criteria, c.criteria);
    EXPECT_EQ(read.master, c.master);
    EXPECT_EQ(read.approved, c.approved);
}

INSTANTIATE_TEST_SUITE_P(All, ResultsFileReads,
    ::testing::Values(ReadCase { "HeadersAreNotExamined",
                          { "P", "1", "a", "S", "0", "E", "0", "M", "1", "http://x,,,,,1,,,,,1", "A", "1", "http://x" },
                          FileSection::End, "", { { "a" }, {}, {} }, { "http://x,,,,,1,,,,,1" }, { "http://x" } },
        ReadCase { "NegativeCountReadsNothing",
            { "Primary", "-3", "Secondary", "1", "s", "Exclusion", "0", "MasterUrl", "0", "ApprovedUrl", "0" },
            FileSection::End, "", { {}, { "s" }, {} }, {}, {} },
        ReadCase { "BadPrimaryCount", { "Primary", "two", "a", "b" }, FileSection::Primary,
            "'two' is not a valid integer value", {}, {}, {} },
        ReadCase { "EmptyFile", {}, FileSection::Primary, "'' is not a valid integer value", {}, {}, {} },
        ReadCase { "BadMasterCountKeepsCriteria",
            { "Primary", "1", "a", "Secondary", "0", "Exclusion", "1", "e", "MasterUrl", "1 0", "http://x" },
            FileSection::MasterUrl, "'1 0' is not a valid integer value", { { "a" }, {}, { "e" } }, {}, {} },
        ReadCase { "BadApprovedCountKeepsMaster",
            { "Primary", "0", "Secondary", "0", "Exclusion", "0", "MasterUrl", "1", "http://x,,,,,0,,,,,0",
                "ApprovedUrl", "x" },
            FileSection::ApprovedUrl, "'x' is not a valid integer value", {}, { "http://x,,,,,0,,,,,0" }, {} },
        // Lines a count promises past the end read as empty entries; the
        // missing count line after them stops the read.
        ReadCase { "ShortFile", { "Primary", "3", "a" }, FileSection::Secondary, "'' is not a valid integer value",
            { { "a", "", "" }, {}, {} }, {}, {} },
        ReadCase { "HexCountAccepted",
            { "Primary", "$2", "a", "b", "Secondary", "0", "Exclusion", "0", "MasterUrl", "0", "ApprovedUrl", "0" },
            FileSection::End, "", { { "a", "b" }, {}, {} }, {}, {} },
        // An approved count beyond the lines there would make "End Data" and
        // empty lines approved URLs: the file is refused.
        ReadCase { "ApprovedCountTakesEndData",
            { "Primary", "0", "Secondary", "0", "Exclusion", "0", "MasterUrl", "0", "ApprovedUrl", "2", "http://x",
                "End Data" },
            FileSection::ApprovedUrl, "the ApprovedUrl count 2 is more than the lines that follow it", {}, {}, {} },
        ReadCase { "ApprovedCountPastTheEnd",
            { "Primary", "0", "Secondary", "0", "Exclusion", "0", "MasterUrl", "0", "ApprovedUrl", "3", "http://x" },
            FileSection::ApprovedUrl, "the ApprovedUrl count 3 is more than the lines that follow it", {}, {}, {} }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ResultsFile, DamagedHugeCountStopsPaddingPastTheEnd)
{
    const FileRead read = readResultsFile({ "Primary", "2000000000", "a" });
    EXPECT_EQ(read.stoppedAt, FileSection::Secondary);
    ASSERT_EQ(read.criteria.primary.size(), static_cast<size_t>(1 + kMaxEntriesPastEnd));
    EXPECT_EQ(read.criteria.primary.front(), "a");
}

// Text of any script goes out as UTF-8 and comes back unchanged; a file of
// the single-byte era opens with its accents.
TEST(ResultsFileText, KeepsEveryCharacterAndOpensWindows1252Files)
{
    test::TempFolder folder;
    const std::string path = folder.file("world.rst");
    const CriteriaSections world { { "\xCF\x89\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1",
                                       "\xE2\x80\x9C\xE6\x9D\xB1\xE4\xBA\xAC\xE2\x80\x9D" },
        { "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82" }, { "don\xE2\x80\x99t" } };
    const std::vector<MasterRowState> rows = { { "http://a/\xCF\x80,,,,,0,,,,,0", true, "Verified" } };
    SaveLines(path, writeResultsFile(world, rows, { "http://a/\xCF\x80" }));
    const FileRead again = readResultsFile(LoadTextLines(path));
    EXPECT_EQ(again.criteria, world);
    EXPECT_EQ(again.master, (Lines { "http://a/\xCF\x80,,,,,1,,,,,1" }));
    EXPECT_EQ(again.approved, (Lines { "http://a/\xCF\x80" }));


    SaveFileBytes(path,
        "Primary\r\n1\r\ncaf\xE9 "
        "\x93q\x94\r\nSecondary\r\n0\r\nExclusion\r\n0\r\nMasterUrl\r\n0\r\nApprovedUrl\r\n0\r\nEnd Data\r\n");
    const FileRead old = readResultsFile(LoadTextLines(path));
    EXPECT_EQ(old.criteria.primary, (Lines { "caf\xC3\xA9 \xE2\x80\x9Cq\xE2\x80\x9D" }));
    // A byte order mark is not part of the first line.
    SaveFileBytes(path, "\xEF\xBB\xBFPrimary\r\n1\r\n\xC3\xA9\r\n");
    EXPECT_EQ(LoadTextLines(path), (Lines { "Primary", "1", "\xC3\xA9" }));
}
