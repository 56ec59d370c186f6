#pragma once
// The main window. It owns every list and all run state for the life of the
// program. Its handlers live in the folder of the subsystem they belong to
// (src/search/ui, src/parse/ui, src/verify/ui, ...); this header declares them
// grouped by subsystem. Handlers stay short: the decisions are made by the
// core library and the handlers wire them to the controls.
#include "files/ResultsDocument.h"
#include "net/HttpProt.h"
#include "parse/ParseContext.h"
#include "search/EngineHosts.h"
#include "search/EngineYield.h"
#include "search/RunObserver.h"
#include "search/RunState.h"
#include "search/SearchCatalogue.h"
#include "search/UrlList.h"
#include "verify/FetchScheduler.h"
#include "verify/PageJudge.h"
#include "verify/PageScan.h"
#include "verify/UrlOutcome.h"

#include <QElapsedTimer>
#include <QFile>
#include <QMainWindow>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTimer;
class QToolButton;
class TAnimate;
class TRCADigital;
class TfrmStats;

namespace orv
{
class SessionStore;
class CheckListBox;
class EditBox;
class NumberBox;
class PageControl;
class SpinButton;
class Splitter;
class UrlListView;
} // namespace orv

class TForm1 : public QMainWindow
{
    Q_OBJECT

public:
    // `programFolder` ends in "/"; data/, Reports/, Templates/ and the
    // options file are found there. Builds every control, wires it to its
    // handler and runs FormCreate.
    explicit TForm1(std::string programFolder, QWidget* parent = nullptr);
    ~TForm1() override;

    const std::string& programFolder() const { return programFolder_; }

    // Where downloaded pages are written while they are read: the program
    // folder's data/ unless a batch run keeps its own. Ends in "/".
    const std::string& dataFolder() const { return dataFolder_; }
    void setDataFolder(std::string folder) { dataFolder_ = std::move(folder); }

    // ---- Start-up, layout and command map (src/app) ----------------------

    // Toolbar, 49 pixels high, at the top of the client area.
    QFrame* Panel1 = nullptr;
    QToolButton* spdNew = nullptr;
    QToolButton* spdOpen = nullptr;
    QToolButton* spdSave = nullptr;
    QToolButton* spdCut = nullptr;
    QToolButton* spdCopy = nullptr;
    QToolButton* spdPaste = nullptr;
    QToolButton* spdDelete = nullptr;
    QToolButton* spdFind = nullptr;
    QToolButton* spdPrint = nullptr;
    QToolButton* spdHelp = nullptr;
    QPushButton* butSearch = nullptr;
    QPushButton* butAbort = nullptr;
    QPushButton* butRetrieve = nullptr;
    QLabel* imgLogo = nullptr; // the logo at the right end of the toolbar
    TAnimate* Animate1 = nullptr; // the search animation, hidden, in the logo's place during runs

    // The list area between the toolbar and the settings area: the results
    // view alone, or after SetupTheSplitter both views with the splitter.
    QWidget* listArea = nullptr;
    orv::Splitter* TheSplitter = nullptr;
    bool splitterCreated = false;

    // The settings area, bottom-aligned over the list area.
    orv::PageControl* Page1 = nullptr;
    QWidget* TabSheet1 = nullptr; // "Main"
    QWidget* TabSheet2 = nullptr; // "Engines"
    QWidget* TabSheet3 = nullptr; // "Browsers"
    QWidget* TabSheet4 = nullptr; // "Search Criteria"

    // "Main": activity text, counters, progress.
    QFrame* Panel3 = nullptr; // everything on the "Main" tab
    QFrame* Panel4 = nullptr; // master count and its caption
    QFrame* Panel5 = nullptr; // checked count and its caption
    QFrame* Panel6 = nullptr; // approved count and its caption
    QLabel* lblCurrentEngine = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    TRCADigital* RCADigital1 = nullptr; // the time-out countdown, right-aligned, hidden between runs

    // "Engines": one check box, maximum box and spin button per engine.
    QCheckBox* chkAltaVista = nullptr;
    QCheckBox* chkExcite = nullptr;
    QCheckBox* chknetfindAol = nullptr;
    QCheckBox* chkInfoseek = nullptr;
    QCheckBox* chkPlanetSearch = nullptr;
    QCheckBox* chkYahoo = nullptr;
    QCheckBox* chkSnap = nullptr;
    QCheckBox* chkWebcrawler = nullptr;
    QCheckBox* chkMagellan = nullptr;
    QCheckBox* chkThunderstone = nullptr;
    orv::EditBox* edAltaMax = nullptr;
    orv::EditBox* edExciteMax = nullptr;
    orv::EditBox* edNetfindAolMax = nullptr;
    orv::EditBox* edInfoseekMax = nullptr;
    orv::EditBox* edPlanetMax = nullptr;
    orv::EditBox* edYahooMax = nullptr;
    orv::EditBox* edSnapMax = nullptr;
    orv::EditBox* edWebcrawlerMax = nullptr;
    orv::EditBox* edMagellanMax = nullptr;
    orv::EditBox* edThunderstoneMax = nullptr;
    orv::SpinButton* spinAlta = nullptr;
    orv::SpinButton* spinExcite = nullptr;
    orv::SpinButton* spinNetfindAol = nullptr;
    orv::SpinButton* spinInfoseek = nullptr;
    orv::SpinButton* spinPlanet = nullptr;
    orv::SpinButton* spinYahoo = nullptr;
    orv::SpinButton* spinSnap = nullptr;
    orv::SpinButton* spinWebcrawler = nullptr;
    orv::SpinButton* spinMagellan = nullptr;
    orv::SpinButton* spinThunderstone = nullptr;
    orv::EditBox* edMaxSeconds = nullptr;
    orv::NumberBox* spinParallelFetches = nullptr; // pages a retrieval run fetches at once
    QCheckBox* chkHttp11 = nullptr; // "HTTP/1.1 connections" for retrievals
    QPushButton* butOptionsOK = nullptr;
    QPushButton* butOptionsCancel = nullptr;
    QPushButton* butOptionsApply = nullptr;

    // The controls of one engine.
    QCheckBox* engineCheck(orv::Engine e) const;
    orv::EditBox* engineMaxBox(orv::Engine e) const;
    orv::SpinButton* engineSpin(orv::Engine e) const;

    // "Browsers": installed browsers and the HTTP proxy.
    orv::CheckListBox* listBrowsers = nullptr;
    QCheckBox* chkUseHttpProxy = nullptr;
    orv::EditBox* edHttpProxy = nullptr;
    orv::EditBox* edHttpProxyPort = nullptr;
    QPushButton* butProxyOk = nullptr;

    // "Search Criteria".
    QPlainTextEdit* memPrimarySearchCriteria = nullptr;
    QPlainTextEdit* memSecondarySearchCriteria = nullptr;
    QPlainTextEdit* memExclusionCriteria = nullptr;
    QRadioButton* radPrimaryAny = nullptr;
    QRadioButton* radPrimaryAll = nullptr;
    QRadioButton* radSecondaryAny = nullptr;
    QRadioButton* radSecondaryAll = nullptr;
    QRadioButton* radExclusionAny = nullptr;
    QRadioButton* radExclusionAll = nullptr;
    QPushButton* butAccept = nullptr;
    QComboBox* cboMatchOn = nullptr; // "Page Text" or "Page Source"; stored in the options

    // Main menu.
    QMenuBar* MainMenu1 = nullptr;
    QMenu* mnuFile = nullptr;
    QAction* mnuFileNew = nullptr;
    QAction* mnuFileOpen = nullptr;
    QMenu* mnuFileRecent = nullptr; // "Open &Recent"
    QAction* mnuFileSave = nullptr;
    QAction* mnuFileSaveAs = nullptr; // "Save &As..."

    QAction* mnuFileClose = nullptr;
    QAction* mnuFileStats = nullptr;
    QMenu* mnuFileExport = nullptr;
    QAction* mnuFileExportHtml = nullptr;
    QAction* mnuFileExportText = nullptr;
    QAction* mnuFileExportCsv = nullptr;
    QAction* mnuFileExportJson = nullptr;
    QAction* mnuFIlePrintSetup = nullptr;
    QAction* mnuFilePrint = nullptr;
    QAction* mnuFileExit = nullptr;
    QMenu* mnuEdit = nullptr;
    QAction* mnuEditCut = nullptr;
    QAction* mnuEditCopy = nullptr;
    QAction* mnuEditPaste = nullptr;
    QAction* mnuClearCheckboxes = nullptr;
    QAction* mnuEditFind = nullptr;
    QAction* mnuEditFindNext = nullptr; // "Find &Next", F3
    QAction* mnuEditYield = nullptr; // "Engine &Yield", once a search has run
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpContents = nullptr; // "&Orvalen Help"
    QAction* mnuHelpAbout = nullptr;

    // Popup menu of both URL lists.
    QMenu* UrlListPopup = nullptr;
    QAction* popGotoPage = nullptr;
    QAction* popScanPage = nullptr;
    QAction* popDescription = nullptr;
    QAction* popCut = nullptr;
    QAction* popCopy = nullptr;
    QAction* Paste1 = nullptr;
    QAction* popRemoveFromList = nullptr;

    // Window lifecycle and layout.
    void FormCreate();
    void FormClose();
    void FormResize();
    void SetupTheSplitter();
    void TheSplitterOnMoved();
    void Page1MouseDown();
    void mnuFileExitClick();
    void mnuHelpAboutClick();

    // Places the settings area: `height` pixels high against the bottom of
    // the client area, over the list area.
    void placePage1(int height);

    // ---- Between starts, and the open results file (src/app/TForm1Session.cpp)

    // Takes the size, position, splitter, tab and recent files from `store`
    // (not owned; it outlives the window) or, on a first start, fills a
    // good part of the screen. The window writes them back when it closes.
    void RestoreSession(orv::SessionStore* store);
    void SaveSession() const;
    // The results file shown, and whether the lists or criteria changed
    // since it was opened or saved.
    orv::ResultsDocument document;
    orv::RecentFiles recentFiles;
    // A digest of everything closing would lose: the lists as a results
    // file would hold them and the criteria, accepted and as typed.
    std::uint64_t ContentDigest() const;
    // Before the window closes with changes: Save, Discard or Cancel.
    // False when the close is to be called off.
    bool AskToSaveChanges();
    // The title between runs: "Orvalen", or the open file's name with a
    // mark while it has unsaved changes.
    void ShowRestingTitle();
    // Opens a template (*.cri) or a results file (anything else), as the
    // recent files and dropped files do.
    void OpenFileByKind(const std::string& path);
    // Save's dialog in the given mode; false when nothing was saved.
    bool SaveWithDialog(bool templates, bool proposeOpenFile);
    void mnuFileSaveAsClick();
    void mnuEditFindNextClick();
    // Moves the splitter's left edge (the results view's width) to `left`.
    void MoveSplitterTo(int left);

    // Commands of other subsystems, wired here; each is defined in the
    // folder of the subsystem it belongs to.
    void spdNewClick();
    void spdOpenClick();
    void spdSaveClick();
    void spdCutClick();
    void spdCopyClick();
    void spdPasteClick();
    void spdDeleteClick();
    void spdFindClick();
    void spdPrintClick();
    void spdHelpClick();
    void butSearchClick();
    void butAbortClick();
    void butRetrieveClick();
    void mnuFileClick();
    void mnuFileNewClick();
    void mnuFileOpenClick();
    void mnuFileSaveClick();
    void mnuFileCloseClick();
    void mnuFileStatsClick();
    void mnuFileExportHtmlClick();
    void mnuFileExportTextClick();
    void mnuFileExportCsvClick();
    void mnuFileExportJsonClick();
    void mnuFIlePrintSetupClick();
    void mnuFilePrintClick();
    void mnuEditClick();
    void mnuEditCutClick();
    void mnuEditCopyClick();
    void mnuEditPasteClick();
    void mnuClearCheckboxesClick();
    void mnuEditFindClick();
    void mnuEditYieldClick();
    void UrlListPopupPopup();
    void popGotoPageClick();
    void popScanPageClick();
    void popDescriptionClick();
    void popCutClick();
    void popCopyClick();
    void Paste1Click();
    void popRemoveFromListClick();
    void TabSheet4Exit();
    void butAcceptClick();
    void cboMatchOnActivated();
    void memPrimarySearchCriteriaChange();
    void memSecondarySearchCriteriaChange();
    void memExclusionCriteriaChange();
    void listBrowsersMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void FindDefaultBrowser();
    void ListView1Click();
    void ListView2Click();
    void ListView1KeyDown(int key, Qt::KeyboardModifiers shift);
    void ListView2KeyDown(int key, Qt::KeyboardModifiers shift);
    void ListView2DragOver(orv::UrlListView* source, bool* accept);
    void ListView2DragDrop(orv::UrlListView* source);

    // ---- Options and engine settings (src/files/ui/Options*) -------------

    void OptionsCreate();
    void ReadOptions();
    void SaveOptions();
    void butOptionsOKClick();
    void butOptionsApplyClick();
    void chkUseHttpProxyClick();
    void chkAltaVistaClick();
    void chkExciteClick();
    void chknetfindAolClick();
    void chkSnapClick();
    void chkPlanetSearchClick();
    void chkInfoseekClick();
    void chkYahooClick();
    void chkWebcrawlerClick();
    void chkMagellanClick();
    void chkThunderstoneClick();
    void edAltaMaxChange();
    void edExciteMaxChange();
    void edNetfindAolMaxChange();
    void edInfoseekMaxChange();
    void edPlanetMaxChange();
    void edYahooMaxChange();
    void edSnapMaxChange();
    void edWebcrawlerMaxChange();
    void edMagellanMaxChange();
    void edThunderstoneMaxChange();
    void edAltaMaxExit();
    void edExciteMaxExit();
    void edNetfindAolMaxExit();
    void edInfoseekMaxExit();
    void edPlanetMaxExit();
    void edYahooMaxExit();
    void edSnapMaxExit();
    void edThunderstoneMaxExit();
    void spinAltaUpClick();
    void spinAltaDownClick();
    void spinExciteUpClick();
    void spinExciteDownClick();
    void spinNetfindAolUpClick();
    void spinNetfindAolDownClick();
    void spinInfoseekUpClick();
    void spinInfoseekDownClick();
    void spinPlanetUpClick();
    void spinPlanetDownClick();
    void spinYahooUpClick();
    void spinYahooDownClick();
    void spinSnapUpClick();
    void spinSnapDownClick();
    void spinWebcrawlerUpClick();
    void spinWebcrawlerDownClick();
    void spinMagellanUpClick();
    void spinMagellanDownClick();
    void spinThunderstoneUpClick();
    void spinThunderstoneDownClick();

    // The shared bodies of the per-engine handlers above.
    void engineCheckClick(orv::Engine e);
    void engineMaxChange(orv::Engine e);
    void engineMaxExit(orv::Engine e);
    void engineSpinClick(orv::Engine e, bool up);

    // Hands the proxy to the HTTP client; empty texts mean no proxy.
    void applyProxyToClient(const std::string& host, const std::string& port);
    // What the client was last given (the client itself keeps its copy).
    std::string clientProxy;
    std::string clientProxyPort;

    // ---- Master URL list and views (src/search) ----------------------------

    // The sorted, duplicate-free URL lists and their descriptions. Entry i of
    // a description list describes entry i of its URL list; the master one
    // may run longer, as every offered URL adds one.
    orv::UrlList masterUrls;
    orv::UrlList approvedUrls;
    std::vector<std::string> masterDescriptions;
    std::vector<std::string> approvedDescriptions;

    // The results view ("Search Engine Results", "Status", check boxes) and
    // the approved view ("Your Results", hidden until laid out).
    orv::UrlListView* ListView1 = nullptr;
    orv::UrlListView* ListView2 = nullptr;

    // The counters of the "Main" tab; the number labels size themselves to
    // their text and the caption beside each follows it.
    QLabel* lblRawCount = nullptr;
    QLabel* lblMaster = nullptr;
    QLabel* lblCheckedCount = nullptr;
    QLabel* lblCheckedCaption = nullptr;
    QLabel* lblApprovedCount = nullptr;
    QLabel* lblConfirmed = nullptr;

    // Offers one found URL to the master URL list (a provisional row, a
    // "No Description" entry, the raw count). During a burst of offers the
    // raw count is painted at most once per kRawCountFrameMs;
    // ShowPendingRawCount ends the burst with the exact count.
    void UpdateMasterUrlList(const std::string& url);
    void ShowPendingRawCount();
    static constexpr int kRawCountFrameMs = 16;
    // Rebuilds the results view and its counters from the master URL list.
    void PopulateListBox();
    // Shows the number of approved records and moves "Confirmed Urls" beside it.
    void ShowApprovedCount(int count);
    // Recounts the ticked rows of the results view into lblCheckedCount.
    void ShowCheckedCount();
    // Sets a self-sizing label's text (bytes) and fits the label to it.
    static void SetLabelText(QLabel* label, const std::string& text);

private:
    // Creates the lists' views and counter labels, unplaced.
    void CreateUrlListsAndViews();
    // Puts them into a plain arrangement until the full window layout takes them.
    void LayOutUrlListsProvisionally(QWidget* central);
    void ShowRawCount();
    void ShowRawCountThrottled();
    QElapsedTimer rawCountShown_; // when the raw count was last painted
    bool rawCountPending_ = false; // offers since then are not shown yet

public:
    // ---- Search run (src/search) -------------------------------------------

    // Flags and values shared by the runs and the handlers nested in a request.
    orv::RunState run;

    // The HTTP client every page is fetched with; its document events are
    // handled by Httpcli1DocBegin / Httpcli1DocData / Httpcli1DocEnd.
    orv::THttpCli Httpcli1;
    // The time-out tick, every 1000 ms while a request is armed.
    QTimer* Timer1 = nullptr;
    // Where each engine is asked, read from engines.txt at each Search.
    orv::EngineHosts engineHosts;
    // Why the current request's data file could not be created, or empty.
    std::string dataFileError;

    void Httpcli1DocBegin();
    // `data` and `len` are the piece that has just arrived; the client
    // writes it to the receive stream after the handler returns.
    void Httpcli1DocData(const char* data, int len);
    void Httpcli1DocEnd();
    void Timer1Timer();

    // The engine query procedures: one result page of one engine into its
    // data file. Magellan and Netfind.Aol take the first-page or next-page form.
    void AltaVistaSearch();
    void InfoseekSearch();
    void ExciteSearch();
    void YahooSearch();
    void WebcrawlerSearch();
    void SnapSearch();
    void PlanetSearch();
    void ThunderstoneSearch();
    void MagellanSearch(bool firstPage);
    void NetfindAolSearch(bool firstPage);
    // Their common frame.
    void EngineSearch(orv::Engine e, bool firstPage);

    // Closes the data file the client is writing, if any, and clears the
    // client's receive stream.
    void FreeReceiveStream();
    // Shows the current activity in lblCurrentEngine.
    void SetActivity(const std::string& text);

    // The animation and the countdown panel, shown in place of the logo
    // during a run.
    void ShowRunIndicators();
    void HideRunIndicators();
    void ShowCountdown(int seconds);
    // A retrieval's progress text in the Status column of `row` and in the
    // window title.
    void ShowRetrievalProgress(int row, const std::string& text);
    // A piece of a page has arrived: the activity text, and during a
    // retrieval the byte count in `row` and the title.
    void ShowReceiving(int row, const std::string& docName, long long count);
    // Keeps a retrieved page that has passed its size bound to the bound
    // and ends its request.
    void CutRetrievedPage(const char* data, int len);
    // Empties the URL lists, their descriptions, both views and the
    // counters at the start of a search run.
    void ClearUrlListsForSearch();

    // What each engine of the last search run brought; cleared with the lists.
    orv::EngineYield yield;
    // The engine whose page is being fetched or parsed during a search run.
    std::optional<orv::Engine> searchingEngine;
    // Documents begun and URLs offered so far, to tell what one page gave.
    int documentsBegun = 0;
    int urlsOffered = 0;
    // ---- Engines defined as data (src/search/ui/Defined*) ----------------

    // The drawn engines and the defined ones, read when the window is made.
    orv::SearchCatalogue catalogue;
    // The check box and maximum of each defined engine, in catalogue order,
    // in a scrolling list on the "Engines" tab.
    struct DefinedEngineControls {
        QCheckBox* check = nullptr;
        orv::NumberBox* maxBox = nullptr;
    };
    std::vector<DefinedEngineControls> definedControls;
    QWidget* definedEngineList = nullptr;
    // The defined engine whose links are being offered during a search run.
    std::optional<orv::EngineId> searchingDefined;
    void CreateDefinedEngineList();
    // defined-engines.txt into the rows; `newUserFolder` asks every enabled
    // engine the file does not name.
    void ReadDefinedEngineSettings(bool newUserFolder);
    void SaveDefinedEngineSettings();
    // Asks the ticked defined engines at once and applies what they gave in
    // catalogue order: report lines, master list, yield.
    void SearchDefinedEngines();

    // Follows the runs from outside (a batch run); not owned, may be null.
    orv::RunObserver* runObserver = nullptr;
    // Recounts each engine's verified and approved URLs from the rows.
    void RecountYieldOutcomes();
    // The "Engine Yield" window, made on first use.
    class TfrmYield* frmYield = nullptr;

private:
    // Wires the client's events and creates Timer1; runs as a member
    // initializer, before the constructor body builds the controls.
    bool WireSearchRun();
    std::unique_ptr<QFile> receiveFile_;
    bool searchRunWired_ = WireSearchRun();

public:
    // ---- Result-page parsing (src/parse) -----------------------------------

    // The "Search Engine Report" window, created hidden with the main window.
    static TfrmStats* NewStatsWindow(TForm1* owner);
    TfrmStats* frmStats = NewStatsWindow(this);

    // The result-page parsers the search run calls after each download. Each
    // reads the engine data file named in `run`; a maximum box that holds no
    // whole number throws orv::EConvertError, which ends the search run.
    void ParseAltaVista();
    void ParseInfoseek();
    void ParseExcite();
    void ParseYahoo();
    void ParseNetfindAol();
    void ParseWebcrawler();
    void ParseSnap();
    void ParseMagellan();
    void ParsePlanetSearch();
    void ParseThunderstone();
    // The parser of `engine`, for callers that walk the engines.
    void ParseEngine(orv::Engine engine);

    // What the parsers reach of the window: the run state, the maximum
    // boxes, the activity text, the report window and the master URL list.
    orv::ParseContext& parseContext();

private:
    // Runs one parser and shows the exact raw count when it ends.
    void RunParser(const std::function<void()>& parse);
    std::unique_ptr<orv::ParseContext> parseContext_;

public:
    // ---- Criteria and retrieval (src/verify) -------------------------------

    // The accepted criteria: the three word lists, the query text (Primary
    // lines joined with "+") and its quote-escaped form. LoadTheLists, and
    // New and Open of the files commands, replace them; editing the boxes
    // alone does not.
    orv::WordLists criteria;

    // Rebuilds the word lists and query texts from the three criteria boxes.
    void LoadTheLists();
    // Rebuilds "Your Results" and its counter from the approved URL list.
    void PopulateTheApprovedBox();
    // The loop of the Retrieve command over every row of the results view.
    void FetchTheHTML();
    // Fetches and scans the page of one row ("Scan Page").
    void FetchOnePage(int index);

private:
    // The state of the Primary and Secondary radio pairs, read per page.
    orv::ScanModes CurrentScanModes() const;
    orv::MatchOn CurrentMatchOn() const;
    // Sets the client's URL from master entry `index` and shows it.
    std::string SetRequestUrl(int index);
    // Marks the row as being fetched and runs the request.
    void FetchUrl(int row);
    // Selects the row and shows "Contacting" in it and the title.
    void ShowContacting(int row);
    // Records how the URL of `row` ended: outcome, tick, counters, title.
    // `url` is the address fetched, added to the approved list on approval.
    void EndOfUrl(int row, bool skipped, bool singlePage, const std::string& url);
    void ApplyOutcome(int row, orv::UrlOutcome outcome, bool singlePage);
    // Scans the current page file; stores its description, or on a page
    // that cannot be read, deletes it and leaves the error marker.
    orv::ScanVerdict ScanThePage();
    // Adds the page of row `index` to the approved lists and view.
    void ApprovePage(int index, const std::string& url);
    // The same, once every earlier row of a parallel run has ended.
    void ApprovePageInRowOrder(int row, const std::string& url);
    // The retrieval loop with several requests in flight; the rows are
    // decided as FetchTheHTML decides them one at a time.
    void FetchInParallel(int total, int parallel);
    // Ends every request of a parallel run at once (Abort, closing).
    void AbortParallelFetches();
    // Applies the scheduler's reports to the rows.
    class RetrievalListener;
    // The scheduler of the parallel run in progress, or null.
    std::unique_ptr<orv::FetchScheduler> fetchScheduler_;
    // Takes the focus state away from the results view's rows.
    void ClearFocusRow();
    // The last steps of a retrieval run and of a single-page scan, also
    // taken when an error ends them.
    void EndRetrieval();
    void EndSinglePageScan();
    // Adds `delta` to the number a counter label shows.
    void AddToLabel(QLabel* label, int delta);

public:
    // ---- Files, export, printing, options (src/files) ---------------------

    // The print window "Print Url list". Created with the main window and
    // only shown and hidden afterwards, so its choice stays between uses.
    class TfrmPrint* frmPrint = nullptr;

    // Creates the print window and the find dialog. Run once at creation.
    void CreateFilesAndEditing();

    // Open and Save work on criteria templates while the "Search Criteria"
    // tab is the active page, on results files otherwise.
    bool TemplateMode() const;
    void OpenTemplateFile(const std::string& path);
    void OpenResultsFile(const std::string& path);
    void SaveTemplateFile(const std::string& path) const;
    void SaveResultsFile(const std::string& path) const;
    // Both exports: dialog, radio mark, report, viewing question.
    void ExportReport(bool html);
    // Asks where to save an export in Reports/ (overwriting after a
    // question); nullopt when the user cancels.
    std::optional<std::string> AskForExportFile(const char* filter, const char* extension);
    // The CSV and JSON exports: dialog, then the file.
    void ExportData(bool json);
    // Their contents for the lists as they stand.
    std::string CsvExportText() const;
    std::string JsonExportText() const;

    // ---- Browsers and list editing (src/browse) ----------------------------

    // The chosen browser: "none", "Netscape " or "Internet Explorer", the
    // texts of the entries of listBrowsers. Set by FindDefaultBrowser at
    // start-up and by clicks in the list; never stored.
    std::string chosenBrowser = "none";
    // Whether the explorer was started by a hand-over of this run; later
    // hand-overs go to its window while it exists.
    bool explorerStarted = false;
    // Hand one URL to the named browser through the BrowserLauncher seam;
    // failures show nothing.
    void GotoNetscape(const std::string& url);
    void GotoIExplorer(const std::string& url);

    // The modeless find dialog; each Find Next runs FindDialog1Find.
    class TFindDialog* FindDialog1 = nullptr;
    void FindDialog1Find();
    // Creates the find dialog and keeps the tick count current.
    void CreateListEditing();

    // True while a search run, a retrieval run or a single-page scan owns the
    // lists: commands that remove or add rows are refused then, because the
    // run addresses the rows by position.
    bool ListsBusy() const;
    // While the lists are busy: shows "Please wait until the
    // search/retrieval has finished" and answers true.
    bool RefusedWhileListsBusy();
    // Adds URLs to the approved list and keeps the approved description list
    // paired with it: "No Description" at the place each new URL takes.
    void AddApprovedUrls(const orv::Lines& urls);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createToolbar();
    void createPages();
    void createMainPage();
    void createEnginesPage();
    void createBrowsersPage();
    void createCriteriaPage();
    void createMenus();
    void createUrlListPopup();
    void wireControls();
    void wireOptionControls();
    void layoutClientArea();
    void layoutListArea();
    void placeUrlListControls();
    void placeCountdownPanel();
    void releaseLists();
    void createSessionCommands();
    void fillRecentMenu();
    void rememberFile(const std::string& path);
    void storeRecentFiles();
    void scheduleTitle();
    // Keeps the approved counter where it belongs (`approvedCounterLeft_`)
    // but inside the "Main" tab's panel while that is narrower.
    void placeApprovedCounter();
    bool filterFileDrop(QEvent* event);

    orv::SessionStore* session_ = nullptr;
    QTimer* titleTimer_ = nullptr;
    int approvedCounterLeft_ = 0;

    std::string programFolder_;
    std::string dataFolder_ = programFolder_ + "data/";
    QWidget* clientArea_ = nullptr;
    int page1Height_ = 100;
    int listViewWidth_ = 0; // width of the results view once the splitter stands
    // Watches the focus leaving the "Search Criteria" page; dropped first
    // on destruction, as tearing down the widgets moves the focus.
    QMetaObject::Connection focusWatch_;
};

// The single main window, set while it exists.
extern TForm1* Form1;
