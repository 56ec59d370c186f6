// Deleting 10,000 selected rows of a 100,000-row results view (every tenth
// row, so the selection is 10,000 separate ranges) and clearing such a
// selection, next to awk dropping the same lines from a text file, measured
// in the same run.
#include "app/TForm1.h"
#include "platform/ui/UrlListView.h"
#include "support/BenchSupport.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

namespace {

constexpr int kRows = 100000;
constexpr int kEvery = 10; // every tenth row is selected: 10,000 rows

std::string record(int i)
{
    char text[80];
    std::snprintf(text, sizeof text, "http://www.site%06d.example/page.html,,,,,%d,,,,,0", i, i % 2);
    return text;
}

struct Window {
    QTemporaryDir folder;
    orv::bench::SilentDialogs dialogs;
    std::unique_ptr<TForm1> form;

    Window()
    {
        orv::Dialogs::install(&dialogs);
        form = std::make_unique<TForm1>(folder.path().toStdString() + "/");
        form->show();
    }
    ~Window()
    {
        form.reset();
        orv::Dialogs::install(nullptr);
    }

    // A full list with every tenth row of the results view selected.
    void fillAndSelect()
    {
        form->masterUrls.clear();
        form->masterDescriptions.clear();
        for (int i = 0; i < kRows; ++i) {
            form->masterUrls.add(record(i));
            form->masterDescriptions.emplace_back("No Description");
        }
        form->PopulateListBox();
        orv::UrlListView* view = form->ListView1;
        QItemSelection rows;
        for (int i = 0; i < kRows; i += kEvery)
            rows.select(view->rowModel()->index(i, 0), view->rowModel()->index(i, 1));
        view->selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect);
        QApplication::processEvents();
    }
};

void BM_DeleteSelectedRows(benchmark::State& state)
{
    Window w;
    for (auto _ : state) {
        state.PauseTiming();
        w.fillAndSelect();
        state.ResumeTiming();
        w.form->spdDeleteClick();
        QApplication::processEvents();
    }
    state.counters["rows_left"] = w.form->ListView1->count();
    state.counters["records_left"] = w.form->masterUrls.count();
}
BENCHMARK(BM_DeleteSelectedRows)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// A click in "Your Results" clears the results view's selection.
void BM_ClearSelection(benchmark::State& state)
{
    Window w;
    for (auto _ : state) {
        state.PauseTiming();
        w.fillAndSelect();
        state.ResumeTiming();
        w.form->ListView2Click();
        QApplication::processEvents();
    }
    state.counters["selected_left"] = w.form->ListView1->selectedCount();
}
BENCHMARK(BM_ClearSelection)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// The same job on a text file of the same records: awk drops every tenth line.
void BM_AwkDropEveryTenthLine(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString input = dir.filePath(QStringLiteral("records.txt"));
    {
        std::ofstream out(input.toStdString(), std::ios::binary);
        for (int i = 0; i < kRows; ++i)
            out << record(i) << '\n';
    }
    qsizetype lines = 0;
    for (auto _ : state) {
        QProcess awk;
        awk.start(QStringLiteral("awk"), { QStringLiteral("(NR - 1) % 10 != 0"), input });
        awk.waitForFinished(-1);
        lines = awk.readAllStandardOutput().count('\n');
    }
    state.counters["lines_left"] = static_cast<double>(lines);
}
BENCHMARK(BM_AwkDropEveryTenthLine)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    orv::bench::BenchProgram program(argc, argv);
    return program.run();
}
