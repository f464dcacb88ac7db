// The editor window offscreen: opening a full-capacity file until the TV
// list shows its 10,000 rows, and moving the selection by one row.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QItemSelectionModel>
#include <QTableView>
#include <QTemporaryDir>
#include <fstream>
#include <memory>

#include "qt/form_binder.h"
#include "qt/main_frame.h"
#include "qt/zoedit_window.h"
#include "support/database_builder.h"
#include "view/zoedit_view.h"

namespace {

using namespace zoedit;

std::unique_ptr<QTemporaryDir> g_dir;
std::string g_fullPath;

void writeFullFile() {
    g_dir = std::make_unique<QTemporaryDir>();
    g_fullPath = g_dir->filePath(QStringLiteral("full.bin")).toStdString();
    const auto bytes = testing::fileBytesOf(testing::buildDatabase(testing::fullCapacityShape()));
    std::ofstream(g_fullPath, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

QTableView* tvList(qt::ZoEditWindow& w) {
    return qobject_cast<QTableView*>(w.form().widget(ui::form::IDC_TV_LIST));
}

void BM_OpenFullFileUntilRowsShow(benchmark::State& state) {
    qt::ZoEditWindow w;
    w.frame().resize(1180, 810);
    w.frame().show();
    QApplication::processEvents();
    QTableView* tv = tvList(w);
    for (auto _ : state) {
        w.view().OpenPath(g_fullPath);
        QApplication::processEvents();  // the list's batch reaches the view
        tv->viewport()->repaint();      // and its visible rows are drawn
        if (tv->model()->rowCount() != 10000) state.SkipWithError("rows missing");
    }
}
BENCHMARK(BM_OpenFullFileUntilRowsShow)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SelectionChange(benchmark::State& state) {
    qt::ZoEditWindow w;
    w.frame().resize(1180, 810);
    w.frame().show();
    w.view().OpenPath(g_fullPath);
    QApplication::processEvents();
    QTableView* tv = tvList(w);
    QItemSelectionModel* selection = tv->selectionModel();
    int row = 0;
    for (auto _ : state) {
        row = (row + 1) % 10000;
        // What a click does: the list selects, the view fills the pages.
        selection->setCurrentIndex(tv->model()->index(row, 0),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        if (state.range(0)) w.frame().repaint();
    }
    if (w.view().state().m_nSelectedTvRow != Row(row)) state.SkipWithError("selection not handled");
}
// Argument 1: the whole window is drawn again after each change.
BENCHMARK(BM_SelectionChange)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    writeFullFile();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_dir.reset();
    return 0;
}
