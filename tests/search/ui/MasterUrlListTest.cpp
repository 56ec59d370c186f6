#include "app/TForm1.h"
#include "platform/ui/UrlListView.h"
#include "search/UrlRecord.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

using namespace orv;

namespace {

using Texts = std::vector<std::string>;

class MasterUrlList : public ::testing::Test {
protected:
    MasterUrlList()
    {
        folder.makeProgramFolder();
        form = std::make_unique<TForm1>(folder.path());
    }

    std::string text(const QLabel* label) const { return label->text().toStdString(); }
    Texts captions() const
    {
        Texts out;
        for (int i = 0; i < form->ListView1->count(); ++i)
            out.push_back(form->ListView1->caption(i));
        return out;
    }
    Texts statuses() const
    {
        Texts out;
        for (int i = 0; i < form->ListView1->count(); ++i)
            out.push_back(form->ListView1->status(i));
        return out;
    }
    // The caption label must sit `gap` pixels right of its number label.
    void expectBeside(const QLabel* caption, const QLabel* number, int gap) const
    {
        EXPECT_EQ(caption->x(), number->x() + number->width() + gap);
    }

    test::TempFolder folder;
    test::ScriptedDialogs dialogs;
    std::unique_ptr<TForm1> form;
};

TEST_F(MasterUrlList, WindowStartsWithEmptyListsAndInitialCounters)
{
    EXPECT_TRUE(form->masterUrls.empty());
    EXPECT_TRUE(form->approvedUrls.empty());
    EXPECT_TRUE(form->masterDescriptions.empty());
    EXPECT_TRUE(form->approvedDescriptions.empty());
    EXPECT_EQ(text(form->lblRawCount), "0");
    EXPECT_EQ(text(form->lblMaster), "Total Urls");
    EXPECT_EQ(text(form->lblCheckedCount), "0");
    EXPECT_EQ(text(form->lblCheckedCaption), "Checked Urls");
    EXPECT_EQ(text(form->lblApprovedCount), "0 ");
    EXPECT_EQ(text(form->lblConfirmed), "Confirmed Urls");

    auto* model = form->ListView1->model();
    ASSERT_EQ(model->columnCount(), 2);
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), "Search Engine Results");
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "Status");
    EXPECT_TRUE(form->ListView1->checkBoxes());
    EXPECT_TRUE(form->ListView1->multiSelect());
    ASSERT_EQ(form->ListView2->model()->columnCount(), 1);
    EXPECT_EQ(form->ListView2->model()->headerData(0, Qt::Horizontal).toString(), "Your Results");
    EXPECT_FALSE(form->ListView2->checkBoxes());
    // Start-up lays out both lists side by side, so the approved view shows.
    EXPECT_FALSE(form->ListView2->isHidden());
    EXPECT_FALSE(form->ListView1->isHidden());
}

struct OfferCase {
    const char* name;
    Texts offered;
    Texts rows; // provisional row captions, in the order offered
    Texts records; // master records, sorted
};

void PrintTo(const OfferCase& c, std::ostream* os)
{
    *os << c.name;
}

class OfferingUrls : public MasterUrlList, public ::testing::WithParamInterface<OfferCase> {
};

TEST_P(OfferingUrls, AddsRowRecordAndDescription)
{
    const OfferCase& c = GetParam();
    for (const std::string& url : c.offered)
        form->UpdateMasterUrlList(url);
    form->ShowPendingRawCount(); // the burst of offers ends
    EXPECT_EQ(captions(), c.rows);
    EXPECT_EQ(statuses(), Texts(c.rows.size(), "UnVerified"));
    EXPECT_EQ(form->masterUrls.records(), c.records);
    // Every offer adds a description, duplicates and refused URLs included.
    EXPECT_EQ(form->masterDescriptions, Texts(c.offered.size(), "No Description"));
    EXPECT_EQ(text(form->lblRawCount), std::to_string(c.records.size()));
    expectBeside(form->lblMaster, form->lblRawCount, 10);
    EXPECT_EQ(text(form->lblMaster), "Total Urls"); // only the rebuild changes the caption
}

INSTANTIATE_TEST_SUITE_P(Table, OfferingUrls,
    ::testing::Values(OfferCase { "LetterCaseDuplicateKeepsFirstOffered",
                          { "http://www.Example.com/Page", "http://www.example.com/page" },
                          { "http://www.Example.com/Page", "http://www.example.com/page" },
                          { "http://www.Example.com/Page,,,,,0,,,,,0" } },
        OfferCase { "OneTrailingSlashIsDropped", { "http://a.com/", "b.org/" }, { "http://a.com", "b.org" },
            { "http://a.com,,,,,0,,,,,0", "http://b.org,,,,,0,,,,,0" } },
        OfferCase { "OnlyOneOfTwoSlashesIsDropped", { "http://a.com//" }, { "http://a.com/" },
            { "http://a.com/,,,,,0,,,,,0" } },
        OfferCase { "CapitalSchemeGetsAnotherPrefix", { "HTTP://A.COM" }, { "HTTP://A.COM" },
            { "http://HTTP://A.COM,,,,,0,,,,,0" } },
        // An https URL used to gain a second scheme in front of its own.
        OfferCase { "HttpsUrlKeepsItsScheme", { "https://Example.com/a/" }, { "https://Example.com/a" },
            { "https://Example.com/a,,,,,0,,,,,0" } },
        OfferCase { "SameUrlTwiceIsOneRecord", { "http://a.com", "http://a.com" }, { "http://a.com", "http://a.com" },
            { "http://a.com,,,,,0,,,,,0" } },
        OfferCase { "EmptyUrl", { "" }, { "" }, { "http://,,,,,0,,,,,0" } },
        OfferCase { "SortedAcrossOffers", { "http://c.com", "http://B.com", "http://a.com" },
            { "http://c.com", "http://B.com", "http://a.com" },
            { "http://a.com,,,,,0,,,,,0", "http://B.com,,,,,0,,,,,0", "http://c.com,,,,,0,,,,,0" } },
        // A page must not be able to forge its record's check and status
        // digits, nor break the record over two lines: such URLs keep their
        // row and description but never reach the list.
        OfferCase { "SeparatorInUrlIsRefused", { "http://evil.com,,,,,1,,,,,1", "http://ok.com" },
            { "http://evil.com,,,,,1,,,,,1", "http://ok.com" }, { "http://ok.com,,,,,0,,,,,0" } },
        OfferCase { "LineBreaksInUrlAreRefused", { "http://a.com/\r\nx", "http://b.com/\nx", "http://c.com/\rx" },
            { "http://a.com/\r\nx", "http://b.com/\nx", "http://c.com/\rx" }, {} }));

TEST_F(MasterUrlList, RebuildShowsRecordsWithTheirTicksAndStatusTexts)
{
    form->masterUrls.add("http://a.com,,,,,1,,,,,1");
    form->masterUrls.add("http://b.com,,,,,0,,,,,4");
    form->masterUrls.add("http://c.com,,,,,1,,,,,9");
    form->masterUrls.add("http://d.com,,,,,1");
    form->masterUrls.add("xxxxx1xxxxx5 no separator");
    form->masterUrls.add("http://e.com,,,,,2,,,,,0");
    form->UpdateMasterUrlList("http://a.com"); // same URL, other digits: another record
    form->ListView1->setSelected(0, true);

    form->PopulateListBox();

    EXPECT_EQ(captions(),
        (Texts { "http://a.com", "http://a.com", "http://b.com", "http://c.com", "http://d.com", "http://e.com", "" }));
    EXPECT_EQ(statuses(),
        (Texts { "Not Verified", "Verified", "Site Not Found", "9", "", "Not Verified", "File Not Found" }));
    std::vector<bool> ticks;
    for (int i = 0; i < form->ListView1->count(); ++i)
        ticks.push_back(form->ListView1->checked(i));
    EXPECT_EQ(ticks, (std::vector<bool> { false, true, false, true, true, false, true }));
    EXPECT_EQ(text(form->lblCheckedCount), "4");
    EXPECT_EQ(text(form->lblRawCount), "7");
    EXPECT_EQ(text(form->lblMaster), " Total Urls");
    expectBeside(form->lblMaster, form->lblRawCount, 10);
    EXPECT_EQ(text(form->lblCurrentEngine), "Sorting Data and Removing Duplicates....");
    EXPECT_FALSE(form->ListView1->isHidden());
    EXPECT_EQ(form->ListView1->selectedCount(), 0);
}

struct CaptionCase {
    int records;
    const char* caption;
};

void PrintTo(const CaptionCase& c, std::ostream* os)
{
    *os << c.records << " records";
}

class CountCaption : public MasterUrlList, public ::testing::WithParamInterface<CaptionCase> {
};

TEST_P(CountCaption, SingularBelowTwo)
{
    for (int i = 0; i < GetParam().records; ++i)
        form->UpdateMasterUrlList("http://site" + std::to_string(i) + ".com");
    form->PopulateListBox();
    EXPECT_EQ(text(form->lblMaster), GetParam().caption);
    EXPECT_EQ(form->ListView1->count(), GetParam().records);
    expectBeside(form->lblMaster, form->lblRawCount, 10);
}

INSTANTIATE_TEST_SUITE_P(Table, CountCaption,
    ::testing::Values(CaptionCase { 0, "  Url" }, CaptionCase { 1, "  Url" }, CaptionCase { 2, " Total Urls" },
        CaptionCase { 12, " Total Urls" }));

TEST_F(MasterUrlList, LabelsFollowTheWidthOfTheirNumbers)
{
    for (int i = 0; i < 1200; ++i)
        form->UpdateMasterUrlList("http://s" + std::to_string(i) + ".com");
    form->ShowPendingRawCount();
    EXPECT_EQ(text(form->lblRawCount), "1200");
    expectBeside(form->lblMaster, form->lblRawCount, 10);

    const int narrow = (form->ShowApprovedCount(3), form->lblApprovedCount->width());
    EXPECT_EQ(text(form->lblApprovedCount), "3");
    expectBeside(form->lblConfirmed, form->lblApprovedCount, 6);
    form->ShowApprovedCount(123456);
    EXPECT_GT(form->lblApprovedCount->width(), narrow);
    expectBeside(form->lblConfirmed, form->lblApprovedCount, 6);

    form->PopulateListBox();
    form->ListView1->setChecked(3, true);
    form->ListView1->setChecked(7, true);
    form->ShowCheckedCount();
    EXPECT_EQ(text(form->lblCheckedCount), "2");
}

} // namespace

namespace
{

// Counts the paint events a widget receives.
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

// Painting the count after every offer cost twice what the offers did; a
// burst repaints it at most once per frame, yet it moves during a long burst
// and is exact once the burst ends.
TEST_F(MasterUrlList, BurstOfOffersPaintsTheCountAtMostOncePerFrame)
{
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get())); // a hidden label is not painted
    PaintCounter counter;
    form->lblRawCount->installEventFilter(&counter);
    QElapsedTimer burst;
    burst.start();
    int offered = 0;
    // Long enough for several frames, bounded in count.
    while (burst.elapsed() < 5 * TForm1::kRawCountFrameMs && offered < 200000)
        form->UpdateMasterUrlList("http://s" + std::to_string(offered++) + ".com");
    const qint64 elapsed = burst.elapsed();
    EXPECT_GE(counter.paints, 2) << "the count did not move during the burst";
    EXPECT_LE(counter.paints, elapsed / TForm1::kRawCountFrameMs + 1) << offered << " offers in " << elapsed << " ms";

    form->ShowPendingRawCount();
    EXPECT_EQ(text(form->lblRawCount), std::to_string(offered));
    expectBeside(form->lblMaster, form->lblRawCount, 10);
}
