// Edit operations, their undo and their redo on the full-capacity sample
// (every table and member list at its capacity), and the bytes the edit
// history holds after a hundred steps of deletes, moves, field edits and
// favourite changes, a quarter each.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>

#include "database/sample_database.h"
#include "edit/edit_history.h"

namespace {

using namespace zoedit;
using namespace zoedit::edit;

const ChannelDatabase& fullSample() {
    static const auto db = [] {
        auto full = std::make_unique<ChannelDatabase>();
        buildSampleDatabase(*full, SampleSize::Full);
        return full;
    }();
    return *db;
}

// The satellite that carries the most channels, TV and radio together.
std::size_t busiestSatellite(const ChannelDatabase& db) {
    std::vector<std::size_t> channels(db.satellites.count, 0);
    for (ChannelKind kind : {ChannelKind::Tv, ChannelKind::Radio})
        for (const ChannelRecord& ch : db.channels(kind).records())
            if (const auto* tp = db.transponderOf(ch); tp && tp->satellite_index < channels.size())
                ++channels[tp->satellite_index];
    return static_cast<std::size_t>(std::max_element(channels.begin(), channels.end()) -
                                    channels.begin());
}

std::vector<EditOperation> operationOf(const ChannelDatabase& db, int which) {
    const std::size_t last = db.tv.count - 1;
    switch (which) {
        case 0:
            return {DeleteSatellite{busiestSatellite(db)}};
        case 1:
            return {MoveChannel{ChannelKind::Tv, 0, last}};
        default: {
            const std::size_t first = db.groupMembers(0, ChannelKind::Tv)[0];
            return {RemoveFavourite{0, ChannelKind::Tv, first, 1},
                    AddFavourite{0, ChannelKind::Tv, first, 1}};
        }
    }
}

// Times one phase of a step: the operation itself, its undo or its redo.
enum class Phase { Apply, Undo, Redo };

void BM_Edit(benchmark::State& state) {
    auto db = std::make_unique<ChannelDatabase>(fullSample());
    const auto ops = operationOf(*db, static_cast<int>(state.range(0)));
    const auto phase = static_cast<Phase>(state.range(1));
    EditHistory history;
    RowSelection selection;
    // The favourite case is two steps: the entry removed, then added back.
    const auto applyAll = [&] {
        for (const auto& op : ops) history.apply(*db, op);
    };
    const auto undoAll = [&] {
        for (std::size_t i = 0; i < ops.size(); ++i) history.undo(*db, selection);
    };
    const auto redoAll = [&] {
        for (std::size_t i = 0; i < ops.size(); ++i) history.redo(*db, selection);
    };
    if (phase != Phase::Apply) applyAll();
    if (phase == Phase::Redo) undoAll();
    for (auto _ : state) {
        switch (phase) {
            case Phase::Apply:
                applyAll();
                state.PauseTiming();
                undoAll();
                break;
            case Phase::Undo:
                undoAll();
                state.PauseTiming();
                redoAll();
                break;
            case Phase::Redo:
                redoAll();
                state.PauseTiming();
                undoAll();
                break;
        }
        state.ResumeTiming();
    }
    state.counters["steps"] = static_cast<double>(ops.size());
}
BENCHMARK(BM_Edit)
    ->ArgNames({"op", "phase"})
    ->ArgsProduct({{0, 1, 2}, {0, 1, 2}})
    ->Unit(benchmark::kMillisecond);

void BM_HistoryHundredSteps(benchmark::State& state) {
    std::size_t held = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto db = std::make_unique<ChannelDatabase>(fullSample());
        EditHistory history;
        std::mt19937 rng(7);
        const auto below = [&](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
        state.ResumeTiming();
        for (int step = 0; step < 100; ++step) {
            const ChannelKind kind = step % 8 < 4 ? ChannelKind::Tv : ChannelKind::Radio;
            const std::size_t count = db->channels(kind).count;
            switch (step % 4) {
                case 0:
                    history.apply(*db, DeleteChannel{kind, below(count)});
                    break;
                case 1:
                    history.apply(*db, MoveChannel{kind, below(count), below(count)});
                    break;
                case 2: {
                    const std::size_t row = below(count);
                    ChannelRecord values = db->channels(kind).primary[row];
                    values.video_pid = static_cast<std::uint16_t>(rng());
                    setNameBytes(values.name, "Edited " + std::to_string(step));
                    history.apply(*db, SetChannelFields{kind, row, values});
                    break;
                }
                default: {
                    // The member lists are full: take an entry out of one
                    // group and put it into another.
                    const std::size_t from = below(db->favouriteGroupCount());
                    const auto members = db->groupMembers(from, kind);
                    if (members.empty()) break;
                    const std::size_t channel = members[below(members.size())];
                    history.apply(*db, RemoveFavourite{from, kind, channel, {}});
                    const std::size_t to = (from + 1) % db->favouriteGroupCount();
                    history.apply(*db, AddFavourite{to, kind, channel, 1});
                    break;
                }
            }
        }
        held = history.heldBytes();
        state.PauseTiming();
        db.reset();
        state.ResumeTiming();
    }
    state.counters["history_MB"] = static_cast<double>(held) / (1 << 20);
}
BENCHMARK(BM_HistoryHundredSteps)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
