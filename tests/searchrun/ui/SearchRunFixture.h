#pragma once
// A fresh main window on a temporary program folder whose engines.txt points
// at an engine simulator of the test's own, with scripted dialogs and a
// watchdog that presses Abort should a run hang.
#include "app/TForm1.h"
#include "support/EngineSim.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QTimer>
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace orv::test
{

class SearchRunFixture : public ::testing::Test
{
protected:
    // Starts the simulator and builds the window. `dataFolder` false leaves
    // the program folder without its "data" folder.
    void start(const EngineSim::Options& options, bool dataFolder = true);

    // Accepts `primary` as the Primary criteria (lines separated by "\n").
    void acceptPrimary(const std::string& primary);
    // Ticks exactly these engines.
    void tickOnly(std::initializer_list<Engine> engines);
    void setMax(Engine e, const std::string& text);
    // Lays out the shipped engine definitions in the program folder; call
    // before start().
    void layOutShippedEngines();
    // Ticks exactly these defined engines, each with `maximum`.
    void tickDefinedOnly(std::initializer_list<const char*> names, int maximum = 20);

    // Presses Search; fails the test if the run is still going after the watchdog.
    void search();

    std::vector<std::string> masterUrls() const; // the URL of each master record
    std::vector<std::string> reportLines() const;
    std::string activity() const;

    // The sorted, de-duplicated links the simulator gave in these requests.
    static std::vector<std::string> linksOf(const std::vector<SimRequest>& requests);

    TempFolder folder;
    ScriptedDialogs dialogs;
    std::unique_ptr<EngineSim> sim;
    std::unique_ptr<TForm1> form;
};

} // namespace orv::test
