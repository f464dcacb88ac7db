// Save of a full-capacity channel file with backups off and on, in one run:
// each save changes one name so that every save with backups on keeps one
// (a hard link beside the rename, and the oldest beyond ten removed). Also a
// save of unchanged bytes, which only compares, and a backup folder on
// another file system (/dev/shm), where the old file is copied.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "database/channel_file.h"
#include "support/database_builder.h"

namespace {

using namespace zoedit;
namespace fs = std::filesystem;

const ChannelDatabase& fullDatabase() {
    static const ChannelDatabase db = testing::buildDatabase(testing::fullCapacityShape());
    return db;
}

const fs::path& scratch() {
    static const fs::path dir = [] {
        char pattern[] = "/tmp/zoedit-bench-backups-XXXXXX";
        return fs::path(::mkdtemp(pattern) ? pattern : "/tmp");
    }();
    return dir;
}

enum Mode { Off = 0, On = 1, OnUnchanged = 2, OnOtherFileSystem = 3 };

void BM_SaveFullFile(benchmark::State& state) {
    const auto mode = static_cast<Mode>(state.range(0));
    const std::string path = (scratch() / ("channels" + std::to_string(mode) + ".bin")).string();
    fs::path root = scratch() / ("backups" + std::to_string(mode));
    if (mode == OnOtherFileSystem) {
        char pattern[] = "/dev/shm/zoedit-bench-XXXXXX";
        if (::mkdtemp(pattern) == nullptr) {
            state.SkipWithError("no /dev/shm");
            return;
        }
        root = pattern;
    }
    const BackupStore store = mode == Off ? BackupStore() : BackupStore(root.string(), 10);
    ChannelDatabase db = fullDatabase();
    saveChannelFile(path, db, {}, 3, store);
    unsigned n = 0;
    for (auto _ : state) {
        if (mode != OnUnchanged) db.tv.primary[0].name[0] = static_cast<char>('A' + n++ % 26);
        benchmark::DoNotOptimize(saveChannelFile(path, db, {}, 3, store).ok);
    }
    state.counters["backups"] = static_cast<double>(store.list(path).size());
    if (mode == OnOtherFileSystem) fs::remove_all(root);
}

BENCHMARK(BM_SaveFullFile)
    ->ArgName("backups")
    ->Arg(Off)
    ->Arg(On)
    ->Arg(OnUnchanged)
    ->Arg(OnOtherFileSystem)
    ->Unit(benchmark::kMicrosecond);

// The backup step by itself, without the save around it: a hard link of the
// full-capacity file, the folder listed, the oldest beyond ten removed.
void BM_KeepCopyAndPrune(benchmark::State& state) {
    const std::string path = (scratch() / "linked.bin").string();
    ChannelDatabase db = fullDatabase();
    saveChannelFile(path, db, {}, 3);
    const BackupStore store((scratch() / "backups-step").string(), 10);
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.keepCopyOf(path).made.size());
        store.prune(path);
    }
}

// What a save with backups on reads besides: the file it replaces, to see
// whether the bytes changed at all.
void BM_ReadTheReplacedFile(benchmark::State& state) {
    const std::string path = (scratch() / "linked.bin").string();
    ChannelDatabase db = fullDatabase();
    saveChannelFile(path, db, {}, 3);
    for (auto _ : state) {
        std::size_t total = 0;
        readFileInPieces(path, [&](std::span<const std::uint8_t> piece) {
            total += piece.size();
            return true;
        });
        benchmark::DoNotOptimize(total);
    }
}

BENCHMARK(BM_KeepCopyAndPrune)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadTheReplacedFile)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove_all(scratch());
    return 0;
}
