#pragma once
// A main window on a fresh program folder, with the engine simulator serving
// the sites it retrieves, scripted dialogs, and a watchdog that abandons a
// request that would outlast the test.
#include "app/TForm1.h"
#include "support/EngineSim.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orv::test
{

class RetrievalFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Fills the master URL list (ticked rows as loaded from a results file)
    // and rebuilds the results view.
    void setMaster(const std::vector<std::string>& urls, const std::vector<std::string>& ticked = {});
    // Types the criteria into their boxes and accepts them.
    void accept(const std::string& primary, const std::string& secondary = "", const std::string& exclusion = "");

    // The row that shows `url`; -1 when there is none.
    int rowOf(const std::string& url) const;
    std::string status(const std::string& url) const;
    bool ticked(const std::string& url) const;
    static std::string text(const QLabel* label);
    std::vector<std::string> approvedViewRows() const;
    // How many requests the simulator answered for `target` (path and query).
    int requestsFor(const std::string& target) const;

    // Calls `action` once, from inside the run, as soon as `when` holds.
    void once(std::function<bool()> when, std::function<void()> action);

    // The body the simulator serves at `path`, fetched by the test itself.
    std::string fetch(const std::string& path) const;

    TempFolder folder;
    ScriptedDialogs dialogs;
    std::unique_ptr<EngineSim> sim;
    std::unique_ptr<TForm1> form;
    bool watchdogFired = false;

private:
    QTimer watchdog_;
    QTimer poll_;
};

} // namespace orv::test
