// The settings area: the page control and its four pages. Controls carry the
// names, captions, hints and defaults the rest of the program relies on.
#include "app/TForm1.h"

#include "app/controls/CheckListBox.h"
#include "app/controls/EditBox.h"
#include "app/controls/NumberBox.h"
#include "app/controls/PageControl.h"
#include "app/controls/SpinButton.h"
#include "files/OptionsFile.h"
#include "rcadigi/DigitStrip.h"
#include "rcadigi/Rcadigi.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

namespace
{

template <typename W> W* named(W* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* label(QWidget* parent, const char* text)
{
    return new QLabel(QString::fromLatin1(text), parent);
}

QFrame* panel(QWidget* parent, const char* name, QRect geometry)
{
    auto* frame = named(new QFrame(parent), name);
    frame->setFrameShape(QFrame::NoFrame);
    frame->setGeometry(geometry);
    return frame;
}

} // namespace

void TForm1::createPages()
{
    Page1 = named(new orv::PageControl(clientArea_), "Page1");
    // It lies over the lists: the strip beside the tabs must not show them.
    Page1->setAutoFillBackground(true);
    TabSheet1 = named(new QWidget, "TabSheet1");
    TabSheet2 = named(new QWidget, "TabSheet2");
    TabSheet3 = named(new QWidget, "TabSheet3");
    TabSheet4 = named(new QWidget, "TabSheet4");
    Page1->addTab(TabSheet1, QStringLiteral("Main"));
    Page1->addTab(TabSheet2, QStringLiteral("Engines"));
    Page1->addTab(TabSheet3, QStringLiteral("Browsers"));
    Page1->addTab(TabSheet4, QStringLiteral("Search Criteria"));
    createMainPage();
    createEnginesPage();
    createBrowsersPage();
    createCriteriaPage();
}

void TForm1::createMainPage()
{
    // Placed by hand: the approved counter and the progress bar follow the
    // splitter, the digit panel keeps to the right edge.
    Panel3 = panel(TabSheet1, "Panel3", QRect(4, 2, 645, 66));
    Panel3->setFrameShape(QFrame::StyledPanel);
    Panel3->setFrameShadow(QFrame::Sunken);
    lblCurrentEngine = named(new QLabel(QStringLiteral("Ready"), Panel3), "lblCurrentEngine");
    lblCurrentEngine->setGeometry(8, 6, 390, 18);
    ProgressBar1 = named(new QProgressBar(Panel3), "ProgressBar1");
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setGeometry(408, 8, 150, 16);

    RCADigital1 = named(new TRCADigital(Panel3), "RCADigital1");
    orv::setupCountdownPanel(*RCADigital1);
    RCADigital1->resize(47, RCADigital1->height());
    placeCountdownPanel();

    Panel4 = panel(Panel3, "Panel4", QRect(8, 34, 150, 22));
    Panel5 = panel(Panel3, "Panel5", QRect(170, 34, 160, 22));
    Panel6 = panel(Panel3, "Panel6", QRect(405, 34, 170, 22));
}

void TForm1::placeCountdownPanel()
{
    RCADigital1->move(Panel3->width() - RCADigital1->width() - 4, 4);
}

void TForm1::createEnginesPage()
{
    auto* grid = new QGridLayout(TabSheet2);
    grid->setContentsMargins(8, 6, 8, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);

    struct Row {
        QCheckBox*& check;
        const char* checkName;
        const char* caption;
        orv::EditBox*& box;
        const char* boxName;
        const char* defaultText;
        orv::SpinButton*& spin;
        const char* spinName;
    };
    const Row rows[] = {
        { chkAltaVista, "chkAltaVista", "AltaVista", edAltaMax, "edAltaMax", "20", spinAlta, "spinAlta" },
        { chkExcite, "chkExcite", "Excite", edExciteMax, "edExciteMax", "20", spinExcite, "spinExcite" },
        { chknetfindAol, "chknetfindAol", "Netfind.Aol", edNetfindAolMax, "edNetfindAolMax", "10", spinNetfindAol,
            "spinNetfindAol" },
        { chkInfoseek, "chkInfoseek", "Infoseek", edInfoseekMax, "edInfoseekMax", "20", spinInfoseek, "spinInfoseek" },
        { chkPlanetSearch, "chkPlanetSearch", "PlanetSearch", edPlanetMax, "edPlanetMax", "20", spinPlanet,
            "spinPlanet" },
        { chkYahoo, "chkYahoo", "Yahoo", edYahooMax, "edYahooMax", "20", spinYahoo, "spinYahoo" },
        { chkSnap, "chkSnap", "Snap", edSnapMax, "edSnapMax", "20", spinSnap, "spinSnap" },
        { chkWebcrawler, "chkWebcrawler", "Webcrawler", edWebcrawlerMax, "edWebcrawlerMax", "20", spinWebcrawler,
            "spinWebcrawler" },
        { chkMagellan, "chkMagellan", "Magellan", edMagellanMax, "edMagellanMax", "20", spinMagellan, "spinMagellan" },
        { chkThunderstone, "chkThunderstone", "Thunderstone", edThunderstoneMax, "edThunderstoneMax", "20",
            spinThunderstone, "spinThunderstone" },
    };
    int index = 0;
    for (const Row& row : rows) {
        const int r = index % 5;
        const int c = (index / 5) * 4;
        row.check = named(new QCheckBox(QString::fromLatin1(row.caption), TabSheet2), row.checkName);
        row.box = named(new orv::EditBox(QString::fromLatin1(row.defaultText), TabSheet2), row.boxName);
        row.box->setFixedWidth(40);
        row.spin = named(new orv::SpinButton(TabSheet2), row.spinName);
        grid->addWidget(row.check, r, c);
        grid->addWidget(row.box, r, c + 1);
        grid->addWidget(row.spin, r, c + 2);
        ++index;
    }
    grid->setColumnMinimumWidth(3, 16);
    grid->setColumnMinimumWidth(7, 16);

    auto* seconds = new QVBoxLayout;
    seconds->setSpacing(0);
    seconds->addWidget(label(TabSheet2, "Maximum number of seconds"));
    seconds->addWidget(label(TabSheet2, "to wait for a response"));
    edMaxSeconds = named(new orv::EditBox(QStringLiteral("30"), TabSheet2), "edMaxSeconds");
    edMaxSeconds->setFixedWidth(40);
    seconds->addWidget(edMaxSeconds);
    grid->addLayout(seconds, 0, 8, 2, 1);

    // How many pages a retrieval run fetches at once: the caption above its
    // box, as the seconds have theirs, so that the two never run together
    // however narrow the page is.
    QLabel* parallelCaption = label(TabSheet2, "Parallel fetches");
    spinParallelFetches = named(new orv::NumberBox(TabSheet2), "spinParallelFetches");
    spinParallelFetches->setRange(orv::kParallelFetchesMin, orv::kParallelFetchesMax);
    spinParallelFetches->setValue(orv::kParallelFetchesDefault);
    spinParallelFetches->setFixedWidth(52);
    parallelCaption->setBuddy(spinParallelFetches);
    // However narrow the page, the caption keeps the width its text needs.
    parallelCaption->setMinimumWidth(parallelCaption->sizeHint().width());
    grid->addWidget(parallelCaption, 2, 8, Qt::AlignBottom);
    grid->addWidget(spinParallelFetches, 3, 8, Qt::AlignLeft | Qt::AlignTop);
    // Beneath the help line, where its caption has the page's whole width.
    chkHttp11 = named(new QCheckBox(QStringLiteral("HTTP/1.1 connections"), TabSheet2), "chkHttp11");
    chkHttp11->setChecked(orv::Options {}.http11);

    auto* buttons = new QHBoxLayout;
    butOptionsOK = named(new QPushButton(QStringLiteral("&Ok"), TabSheet2), "butOptionsOK");
    butOptionsCancel = named(new QPushButton(QStringLiteral("&Cancel"), TabSheet2), "butOptionsCancel");
    butOptionsApply = named(new QPushButton(QStringLiteral("&Apply"), TabSheet2), "butOptionsApply");
    for (QPushButton* b : { butOptionsOK, butOptionsCancel, butOptionsApply }) {
        b->setFixedWidth(64);
        buttons->addWidget(b);
    }
    grid->addLayout(buttons, 4, 8, Qt::AlignBottom);

    auto* help = label(TabSheet2,
        "A checkmark next to the search engine selects it.  Click on the arrows to change the number of "
        "requested returns.");
    help->setObjectName(QStringLiteral("lblEnginesHelp"));
    help->setWordWrap(true);
    grid->addWidget(help, 5, 0, 1, 10);
    grid->addWidget(chkHttp11, 6, 0, 1, 10, Qt::AlignLeft);
    grid->setColumnStretch(8, 1);
    CreateDefinedEngineList();
}

void TForm1::createBrowsersPage()
{
    auto* row = new QHBoxLayout(TabSheet3);
    row->setContentsMargins(8, 6, 8, 6);

    auto* installed = new QGroupBox(QStringLiteral("Installed Browsers"), TabSheet3);
    auto* installedColumn = new QVBoxLayout(installed);
    installedColumn->addWidget(label(installed, "Checkmark the browser you wish to use"));
    listBrowsers = named(new orv::CheckListBox(installed), "listBrowsers");
    installedColumn->addWidget(listBrowsers);
    row->addWidget(installed, 1);

    auto* proxy = new QGroupBox(QStringLiteral("Proxy"), TabSheet3);
    auto* proxyGrid = new QGridLayout(proxy);
    chkUseHttpProxy = named(new QCheckBox(QStringLiteral("Use Http Proxy?"), proxy), "chkUseHttpProxy");
    edHttpProxy = named(new orv::EditBox(QStringLiteral("255.255.255.255"), proxy), "edHttpProxy");
    edHttpProxyPort = named(new orv::EditBox(QStringLiteral("80"), proxy), "edHttpProxyPort");
    edHttpProxyPort->setFixedWidth(60);
    butProxyOk = named(new QPushButton(QStringLiteral("&Ok"), proxy), "butProxyOk");
    butProxyOk->setFixedWidth(64);
    proxyGrid->addWidget(chkUseHttpProxy, 0, 0, 1, 2);
    proxyGrid->addWidget(label(proxy, "Address"), 1, 0);
    proxyGrid->addWidget(edHttpProxy, 1, 1);
    proxyGrid->addWidget(label(proxy, "Port"), 2, 0);
    proxyGrid->addWidget(edHttpProxyPort, 2, 1, Qt::AlignLeft);
    proxyGrid->addWidget(butProxyOk, 0, 2, Qt::AlignRight);
    row->addWidget(proxy, 1);
}

void TForm1::createCriteriaPage()
{
    auto* grid = new QGridLayout(TabSheet4);
    grid->setContentsMargins(8, 6, 8, 6);

    struct Column {
        QPlainTextEdit*& memo;
        const char* memoName;
        const char* caption;
        QRadioButton*& any;
        const char* anyName;
        QRadioButton*& all;
        const char* allName;
    };
    const Column columns[] = {
        { memPrimarySearchCriteria, "memPrimarySearchCriteria", "Primary Search Criteria", radPrimaryAny,
            "radPrimaryAny", radPrimaryAll, "radPrimaryAll" },
        { memSecondarySearchCriteria, "memSecondarySearchCriteria", "Secondary Search Criteria", radSecondaryAny,
            "radSecondaryAny", radSecondaryAll, "radSecondaryAll" },
        { memExclusionCriteria, "memExclusionCriteria", "Exclusion Criteria", radExclusionAny, "radExclusionAny",
            radExclusionAll, "radExclusionAll" },
    };
    int c = 0;
    for (const Column& column : columns) {
        grid->addWidget(label(TabSheet4, column.caption), 0, c);
        column.memo = named(new QPlainTextEdit(TabSheet4), column.memoName);
        column.memo->setLineWrapMode(QPlainTextEdit::NoWrap);
        column.memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        column.memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        grid->addWidget(column.memo, 1, c);
        // Each pair sits in a frame of its own, so that the pairs choose
        // independently of each other.
        auto* pair = new QFrame(TabSheet4);
        auto* pairRow = new QHBoxLayout(pair);
        pairRow->setContentsMargins(0, 0, 0, 0);
        column.any = named(new QRadioButton(QStringLiteral("Any Words  "), pair), column.anyName);
        column.all = named(new QRadioButton(QStringLiteral("All Words"), pair), column.allName);
        column.any->setChecked(true);
        pairRow->addWidget(column.any);
        pairRow->addWidget(column.all);
        pairRow->addStretch(1);
        grid->addWidget(pair, 2, c);
        ++c;
    }
    memExclusionCriteria->setToolTip(QStringLiteral("These are words you don't want"));
    butAccept = named(new QPushButton(QStringLiteral("&Accept"), TabSheet4), "butAccept");
    butAccept->setFixedWidth(75);
    grid->addWidget(butAccept, 3, 2, Qt::AlignRight);
    // Index 0 is page text, index 1 the page source (orv::MatchOn's order).
    auto* matchRow = new QHBoxLayout;
    matchRow->addWidget(label(TabSheet4, "Match on:"));
    cboMatchOn = named(new QComboBox(TabSheet4), "cboMatchOn");
    cboMatchOn->addItem(QStringLiteral("Page Text"));
    cboMatchOn->addItem(QStringLiteral("Page Source"));
    cboMatchOn->setToolTip(
        QStringLiteral("Page Text: the words a reader sees. Page Source: every line of the page, markup included"));
    cboMatchOn->setCurrentIndex(1);
    matchRow->addWidget(cboMatchOn);
    matchRow->addStretch(1);
    grid->addLayout(matchRow, 3, 0, 1, 2);
    grid->setRowStretch(1, 1);
}
