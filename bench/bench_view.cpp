// The main view on the in-memory platform: opening a full-capacity file
// until both lists hold their rows and the first row is shown, and one
// selection change (the three pages and the favourite lookup).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "support/database_builder.h"
#include "support/fake_platform.h"
#include "view/zoedit_view.h"

namespace {

using namespace zoedit;
using namespace zoedit::ui::form;

const std::string& fullFilePath() {
    static const std::string path = testing::writeFullCapacityFile("view");
    return path;
}

void BM_OpenFullFile(benchmark::State& state) {
    test::FakePlatform fake({IDC_TV_LIST, IDC_RADIO_LIST});
    CZoEditView view(fake.platform());
    view.OnInitialUpdate();
    for (auto _ : state) {
        view.OpenPath(fullFilePath());
        benchmark::DoNotOptimize(fake.form.fakeList(IDC_TV_LIST).rowCount());
    }
}
BENCHMARK(BM_OpenFullFile)->Unit(benchmark::kMillisecond);

void BM_SelectionChange(benchmark::State& state) {
    test::FakePlatform fake({IDC_TV_LIST, IDC_RADIO_LIST});
    CZoEditView view(fake.platform());
    view.OnInitialUpdate();
    view.OpenPath(fullFilePath());
    int row = 0;
    for (auto _ : state) {
        view.OnItemChanged(ChannelKind::Tv, row);
        row = (row + 997) % 10000;
    }
}
BENCHMARK(BM_SelectionChange)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
