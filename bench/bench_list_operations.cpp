// The list operations on the full-capacity file, through the main view on
// the in-memory platform with its edit history: a column sort of the
// 10,000-row TV list by each column, a move of the first row to the end with
// the list's refill, and "Keep This Order" after a sort.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

#include "support/database_builder.h"
#include "support/fake_platform.h"
#include "view/zoedit_view.h"

namespace {

using namespace zoedit;
using namespace zoedit::ui::form;
using ui::EventKind;

const std::string& fullFilePath() {
    static const std::string path = testing::writeFullCapacityFile("lists");
    return path;
}

// The view in edit mode on the full file, every change one history step.
struct EditingView {
    EditingView() {
        view = std::make_unique<CZoEditView>(fake.platform());
        view->OnInitialUpdate();
        view->OpenPath(fullFilePath());
        view->onCommand(IDC_EDIT);
    }
    test::FakePlatform fake{{IDC_TV_LIST, IDC_RADIO_LIST}};
    std::unique_ptr<CZoEditView> view;
};

void BM_SortByColumn(benchmark::State& state) {
    EditingView v;
    const int column = static_cast<int>(state.range(0));
    for (auto _ : state) {
        // Each click turns the direction round: every one is a full sort.
        v.view->onEvent({IDC_TV_LIST, EventKind::ColumnClick, column});
        benchmark::DoNotOptimize(v.fake.form.fakeList(IDC_TV_LIST).rowCount());
    }
}
BENCHMARK(BM_SortByColumn)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

void BM_MoveFirstRowToTheEnd(benchmark::State& state) {
    EditingView v;
    for (auto _ : state) {
        v.view->onEvent({IDC_TV_LIST, EventKind::ItemChanged, 0});
        v.view->onEvent({IDC_TV_LIST, EventKind::BeginDrag, 0});
        v.view->onEvent({IDC_TV_LIST, EventKind::ButtonUp, -1});
        v.view->onEvent({IDC_TV_LIST, EventKind::DragEnd});
    }
}
BENCHMARK(BM_MoveFirstRowToTheEnd)->Unit(benchmark::kMillisecond);

void BM_KeepThisOrderAfterASort(benchmark::State& state) {
    EditingView v;
    for (auto _ : state) {
        state.PauseTiming();
        v.view->onEvent({IDC_TV_LIST, EventKind::ColumnClick, 1});
        state.ResumeTiming();
        v.view->onCommand(ui::cmd::ID_EDIT_KEEP_ORDER);
    }
}
BENCHMARK(BM_KeepThisOrderAfterASort)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
