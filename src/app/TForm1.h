#pragma once
// The main window. It owns every list and all run state for the life of the
// program. Its handlers live in the folder of the subsystem they belong to
// (src/search/ui, src/parse/ui, src/verify/ui, ...); this header declares them
// grouped by subsystem. Handlers stay short: the decisions are made by the
// core library and the handlers wire them to the controls.
#include "search/RunState.h"
#include "verify/Criteria.h"

#include <QMainWindow>

#include <string>

class QLabel;

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
