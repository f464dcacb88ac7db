// Record editing on the full-capacity file through the main view over the
// in-memory platform: Save after a field edit (commit, the file written and
// both lists refilled), refresh-and-reselect of the 10,000-row list, and the
// delete of the satellite with the most channels, its refresh included.
// The save's own write is measured alone for comparison.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <string>

#include "database/channel_file.h"
#include "support/database_builder.h"
#include "support/fake_platform.h"
#include "view/history_binding.h"
#include "view/zoedit_view.h"

namespace {

using namespace zoedit;
using namespace zoedit::ui::form;

std::string writeFullFile() {
    return testing::writeFullCapacityFile("record");
}

struct EditingView {
    EditingView() : path(writeFullFile()), view(fake.platform()) {
        view.OnInitialUpdate();
        view.OpenPath(path);
        view.OnItemChanged(ChannelKind::Tv, 5000);
        view.onCommand(IDC_EDIT);
    }
    ~EditingView() { std::remove(path.c_str()); }
    test::FakePlatform fake{{IDC_TV_LIST, IDC_RADIO_LIST}};
    std::string path;
    CZoEditView view;
};

void BM_SaveOwnWrite(benchmark::State& state) {
    EditingView e;
    ChannelDatabase db = e.view.database();  // the writer settles lengths in what it writes
    for (auto _ : state)
        saveChannelFile(e.path, db, SaveFolding{},
                        static_cast<int>(e.view.currentTransponder().value_or(0)));
}
BENCHMARK(BM_SaveOwnWrite)->Unit(benchmark::kMillisecond);

void BM_SaveAfterFieldEdit(benchmark::State& state) {
    EditingView e;
    int n = 0;
    for (auto _ : state) {
        e.fake.form.setText(IDC_CHANNEL_NAME, n++ % 2 ? "Edited A" : "Edited B");
        e.view.Save();
    }
}
BENCHMARK(BM_SaveAfterFieldEdit)->Unit(benchmark::kMillisecond);

void BM_RefreshAndReselect(benchmark::State& state) {
    EditingView e;
    for (auto _ : state) e.view.RefreshAndReselect();
}
BENCHMARK(BM_RefreshAndReselect)->Unit(benchmark::kMillisecond);

// What every step now costs the window: both lists refilled through their
// row maps, the transponder selector, the captions and the pages.
void BM_ShowRecordsAfterAStep(benchmark::State& state) {
    EditingView e;
    for (auto _ : state) e.view.ShowRecords();
}
BENCHMARK(BM_ShowRecordsAfterAStep)->Unit(benchmark::kMillisecond);

void BM_DeleteBiggestSatellite(benchmark::State& state) {
    EditingView e;
    const ChannelDatabase& db = e.view.database();
    // The satellite that most TV and radio channels are on, and a TV channel on it.
    std::map<int, int> channels_on;
    for (ChannelKind kind : {ChannelKind::Tv, ChannelKind::Radio})
        for (const ChannelRecord& channel : db.channels(kind).records())
            if (const TransponderRecord* tp = db.transponderOf(channel))
                ++channels_on[tp->satellite_index];
    int biggest = 0;
    for (const auto& [satellite, count] : channels_on)
        if (count > channels_on[biggest]) biggest = satellite;
    int row = 0;
    for (std::size_t i = 0; i < db.tv.count; ++i) {
        const TransponderRecord* tp = db.transponderOf(db.tv.primary[i]);
        if (tp && tp->satellite_index == biggest) row = static_cast<int>(i);
    }
    e.view.OnTabSelChange(2);
    for (auto _ : state) {
        e.view.OnItemChanged(ChannelKind::Tv, row);
        e.fake.dialogs.answerMessage(ui::MessageAnswer::Yes);
        e.view.onCommand(IDC_DELETE);
        state.PauseTiming();
        // Back to the full tables for the next round, outside the timing.
        CHistoryBinding(e.view).undo();
        state.ResumeTiming();
    }
    state.counters["channels"] = channels_on[biggest];
}
BENCHMARK(BM_DeleteBiggestSatellite)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

BENCHMARK_MAIN();
