#pragma once
// What the benchmarks that drive the window share: dialogs that show nothing,
// the engine simulator started beside the benchmark program, a window over a
// list of found URLs, and the program's main.
#include "app/TForm1.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orv::bench
{

// Answers every question with yes and shows nothing; notices and errors go
// to standard error, so that a run that went wrong says why.
class SilentDialogs final : public Dialogs
{
public:
    void notice(const std::string& text) override;
    bool confirm(const std::string&) override { return true; }
    void error(const std::string& text) override;
    std::optional<std::string> openFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> saveFile(const FileDialogRequest&) override { return std::nullopt; }
    bool print() override { return false; }
    bool printSetup() override { return false; }
};

// The engine simulator beside this program, stopped with the object.
class Simulator
{
public:
    ~Simulator();
    // Starts it on a free port with `args` after "--port 0"; false when it
    // did not say it was ready (and, with "--tls-port", where its TLS port
    // is) within 10 s.
    bool start(const QStringList& args);
    int port() const { return port_; }
    int tlsPort() const { return tlsPort_; }
    // "http://127.0.0.1:PORT"
    std::string origin() const;

private:
    QProcess process_;
    int port_ = 0;
    int tlsPort_ = 0;
};

// A window in a program folder of its own, with the criteria the retrieval
// benchmarks judge pages by and `urls` as found URLs in its lists. Its boxes
// are answered by one SilentDialogs shared by every such window.
class RetrievalWindow
{
public:
    ~RetrievalWindow();
    bool open(const std::vector<std::string>& urls);
    TForm1& form() { return *form_; }
    std::string dataFolder() const { return folder_.path().toStdString() + "/data"; }
    // Times the Retrieve command over every row once per iteration, each
    // run from unticked rows and an empty approved list; the run fails
    // unless every row ends "Verified". Counts verified and approved rows
    // and the time per URL; returns the seconds per run.
    double timeRetrievals(benchmark::State& state);

private:
    QTemporaryDir folder_;
    std::unique_ptr<TForm1> form_;
};

// The program's frame: a QApplication, on the offscreen platform unless
// another is set, and the benchmark library's options taken from the command
// line. Made first in main, so that it outlives the windows of the run.
class BenchProgram
{
public:
    BenchProgram(int& argc, char** argv);
    ~BenchProgram();
    // Runs the benchmarks the command line selects; the exit status.
    int run();
    // Says that the set-up failed; the exit status.
    static int setUpFailed();

private:
    std::unique_ptr<QApplication> app_;
};

// The main of a benchmark over a `World` (with `bool start()`): the program
// frame first, then the world, reachable through `current` while the
// benchmarks run.
template <typename World> int RunOverWorld(int argc, char** argv, World*& current)
{
    BenchProgram program(argc, argv);
    World world;
    if (!world.start())
        return BenchProgram::setUpFailed();
    current = &world;
    const int status = program.run();
    current = nullptr;
    return status;
}

} // namespace orv::bench
