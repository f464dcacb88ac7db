// Applying the order of a full-capacity file (10,000 TV and 10,000 radio
// channels, every group and member list full) to its rescan: the same
// channels shuffled, on shuffled transponders, a quarter of them a megahertz
// off. Matching alone, and matching with the one "Apply Order" step (order,
// locks and favourite groups) that the editor records. Goal: 100 ms.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <numeric>
#include <random>

#include "database/sample_database.h"
#include "order/apply_order.h"

namespace {

using namespace zoedit;

const ChannelDatabase& original() {
    static const auto db = [] {
        auto full = std::make_unique<ChannelDatabase>();
        buildSampleDatabase(*full, SampleSize::Full);
        return full;
    }();
    return *db;
}

const ChannelDatabase& rescan() {
    static const auto db = [] {
        auto scan = std::make_unique<ChannelDatabase>(original());
        std::mt19937 rng(24);
        std::vector<std::size_t> moved_to(scan->transponders.count);
        std::iota(moved_to.begin(), moved_to.end(), std::size_t{0});
        std::shuffle(moved_to.begin(), moved_to.end(), rng);
        for (std::size_t t = 0; t < moved_to.size(); ++t) {
            TransponderRecord tp = original().transponders.primary[t];
            if (rng() % 4 == 0) ++tp.frequency;
            scan->transponders.primary[moved_to[t]] = tp;
        }
        for (ChannelKind kind : {ChannelKind::Tv, ChannelKind::Radio}) {
            auto& table = scan->channels(kind);
            std::shuffle(table.primary.begin(),
                         table.primary.begin() + static_cast<std::ptrdiff_t>(table.count), rng);
            for (std::size_t i = 0; i < table.count; ++i) {
                ChannelRecord& ch = table.primary[i];
                ch.transponder_index = static_cast<std::uint16_t>(moved_to[ch.transponder_index]);
                ch.locked = 0;
            }
        }
        scan->general.favourite_group_count = 0;
        scan->favourites.tv_members.reset(0);
        scan->favourites.radio_members.reset(0);
        return scan;
    }();
    return *db;
}

void BM_MatchFullFiles(benchmark::State& state) {
    const order::OrderReference reference = order::referenceFromDatabase(original());
    std::size_t matched = 0;
    for (auto _ : state) {
        const order::OrderMatch match =
            order::matchOrder(rescan(), reference, CodePage::Windows1256);
        matched = match.tv->by_identity + match.radio->by_identity;
        benchmark::DoNotOptimize(match);
    }
    state.counters["by_identity"] = static_cast<double>(matched);
}
BENCHMARK(BM_MatchFullFiles)->Unit(benchmark::kMillisecond);

// From the reference as the editor holds it (a loaded file) to the step
// recorded: the reference's rows, the match, the plan and the edit.
void BM_MatchAndApplyFullFiles(benchmark::State& state) {
    auto db = std::make_unique<ChannelDatabase>(rescan());
    order::ApplyOrderOptions options;
    options.locks = options.favourites = options.names = true;
    bool ok = true;
    for (auto _ : state) {
        edit::EditHistory history;
        const order::AppliedOrder applied =
            order::applyOrder(*db, history, order::referenceFromDatabase(original()), options);
        ok = ok && applied.result.ok() && history.canUndo();
        state.PauseTiming();
        edit::RowSelection selection;
        history.undo(*db, selection);
        state.ResumeTiming();
    }
    if (!ok) state.SkipWithError("Apply Order was refused or recorded nothing");
}
BENCHMARK(BM_MatchAndApplyFullFiles)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
