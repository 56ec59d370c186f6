#pragma once
// The main window. It owns every list and all run state for the life of the
// program. Its handlers live in the folder of the subsystem they belong to
// (src/search/ui, src/parse/ui, src/verify/ui, ...); this header declares them
// grouped by subsystem. Handlers stay short: the decisions are made by the
// core library and the handlers wire them to the controls.
#include "search/RunState.h"
#include "search/UrlList.h"
#include "verify/Criteria.h"

#include <QMainWindow>

#include <string>
#include <vector>

class QLabel;

namespace orv {
class UrlListView;
}

class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    // `programFolder` ends in "/"; data/, Reports/, Templates/ and the
    // options file are found there.
    explicit TForm1(std::string programFolder, QWidget* parent = nullptr);
    ~TForm1() override;

    const std::string& programFolder() const { return programFolder_; }

    // ---- Start-up, layout and command map (src/app) ----------------------

    QLabel* lblCurrentEngine = nullptr;

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
    // "No Description" entry, the raw count).
    void UpdateMasterUrlList(const std::string& url);
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

public:
    // ---- Search run (src/search) -------------------------------------------

    // Flags and values shared by the runs and the handlers nested in a request.
    orv::RunState run;

    // ---- Result-page parsing (src/parse) -----------------------------------

    // ---- Criteria and retrieval (src/verify) -------------------------------

    // The accepted criteria: the three word lists, the query text (Primary
    // lines joined with "+") and its quote-escaped form. LoadTheLists, and
    // New and Open of the files commands, replace them; editing the boxes
    // alone does not.
    orv::WordLists criteria;

    // ---- Files, export, printing, options (src/files) ---------------------

    // ---- Browsers and list editing (src/browse) ----------------------------

private:
    std::string programFolder_;
};

// The single main window, set while it exists.
extern TForm1* Form1;
