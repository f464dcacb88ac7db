// zoedit-cli diff of two full-capacity files (10,000 TV and 10,000 radio
// channels, every table, group and member list full): the second is the
// first after a rescan (channels shuffled, a tenth renamed, a tenth with a
// PID changed, a few hundred gone). The comparison alone, and both files read
// from disk and compared as the command does. Goal: 200 ms.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <random>

#include "database/channel_file.h"
#include "order/channel_diff.h"
#include "order/diff_text.h"
#include "support/database_builder.h"

namespace {

using namespace zoedit;

const std::string& firstPath() {
    static const std::string path = testing::writeFullCapacityFile("bench_diff_a");
    return path;
}

std::unique_ptr<ChannelDatabase> load(const std::string& path) {
    auto db = std::make_unique<ChannelDatabase>();
    if (!loadChannelFile(path, *db).ok()) return nullptr;
    return db;
}

const std::string& secondPath() {
    static const std::string path = [] {
        auto db = load(firstPath());
        std::mt19937 rng(25);
        for (ChannelKind kind : {ChannelKind::Tv, ChannelKind::Radio}) {
            auto& table = db->channels(kind);
            std::shuffle(table.primary.begin(),
                         table.primary.begin() + static_cast<std::ptrdiff_t>(table.count), rng);
            for (std::size_t i = 0; i < table.count; ++i) {
                ChannelRecord& ch = table.primary[i];
                if (rng() % 10 == 0) setNameBytes(ch.name, "Renamed " + std::to_string(i));
                if (rng() % 10 == 0) ++ch.video_pid;
            }
            table.count -= 300;
        }
        // The groups' members no longer fit the shorter lists: none.
        db->general.favourite_group_count = 0;
        db->favourites.tv_members.reset(0);
        db->favourites.radio_members.reset(0);
        const std::string out =
            (std::filesystem::temp_directory_path() / "bench_diff_b.bin").string();
        saveChannelFile(out, *db, SaveFolding{}, -1);
        return out;
    }();
    return path;
}

void BM_DiffFullFiles(benchmark::State& state) {
    const auto a = load(firstPath());
    const auto b = load(secondPath());
    if (!a || !b) return state.SkipWithError("the files were refused");
    std::size_t moved = 0;
    for (auto _ : state) {
        const order::DatabaseDiff diff = order::diffDatabases(*a, *b);
        moved = diff.lists[0].moved.size();
        benchmark::DoNotOptimize(diff);
    }
    state.counters["tv_moved"] = static_cast<double>(moved);
}
BENCHMARK(BM_DiffFullFiles)->Unit(benchmark::kMillisecond);

// Reading both files, comparing and making every text line the command prints.
void BM_DiffCommandFullFiles(benchmark::State& state) {
    secondPath();
    for (auto _ : state) {
        const auto a = load(firstPath());
        const auto b = load(secondPath());
        if (!a || !b) return state.SkipWithError("the files were refused");
        const order::DatabaseDiff diff = order::diffDatabases(*a, *b);
        std::size_t lines = 0;
        for (order::DiffKind kind : order::kDiffKinds)
            lines += order::diffRows(diff, kind, *a, *b, CodePage::Windows1256).size();
        lines += order::recordLines(diff, *a, *b, CodePage::Windows1256).size();
        benchmark::DoNotOptimize(lines);
    }
}
BENCHMARK(BM_DiffCommandFullFiles)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
