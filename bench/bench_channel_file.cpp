// Reading and saving a full-capacity channel file (255 satellites, 1000
// transponders, 10000 + 10000 channels, 125 groups with 10000 + 10000
// members), beside a raw read and a raw write of the same number of bytes.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "database/channel_file.h"
#include "support/database_builder.h"

namespace {

using namespace zoedit;

const ChannelDatabase& fullDatabase() {
    static const ChannelDatabase db = testing::buildDatabase(testing::fullCapacityShape());
    return db;
}

const std::vector<std::uint8_t>& fullFile() {
    static const std::vector<std::uint8_t> bytes = testing::fileBytesOf(fullDatabase());
    return bytes;
}

const std::string& scratchPath() {
    static const std::string path = [] {
        char pattern[] = "/tmp/zoedit-bench-XXXXXX";
        const int fd = ::mkstemp(pattern);
        if (fd >= 0) ::close(fd);
        return std::string(pattern);
    }();
    return path;
}

void writeRaw(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

void BM_RawRead(benchmark::State& state) {
    writeRaw(scratchPath(), fullFile());
    std::vector<std::uint8_t> buffer(fullFile().size());
    for (auto _ : state) {
        std::FILE* f = std::fopen(scratchPath().c_str(), "rb");
        benchmark::DoNotOptimize(std::fread(buffer.data(), 1, buffer.size(), f));
        std::fclose(f);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * buffer.size()));
}

void BM_LoadChannelFile(benchmark::State& state) {
    writeRaw(scratchPath(), fullFile());
    ChannelDatabase db;
    for (auto _ : state) benchmark::DoNotOptimize(loadChannelFile(scratchPath(), db).ok());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fullFile().size()));
}

void BM_ReadChannelFileFromMemory(benchmark::State& state) {
    ChannelDatabase db;
    for (auto _ : state) benchmark::DoNotOptimize(readChannelFile(fullFile(), db).ok());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fullFile().size()));
}

void BM_RawWrite(benchmark::State& state) {
    for (auto _ : state) writeRaw(scratchPath(), fullFile());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fullFile().size()));
}

// Saving without the flush to disk: build the bytes, write them plainly.
void BM_BuildAndWrite(benchmark::State& state) {
    ChannelDatabase db = fullDatabase();
    for (auto _ : state) writeRaw(scratchPath(), buildChannelFile(db, {}, 3));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fullFile().size()));
}

void BM_BuildChannelFileInMemory(benchmark::State& state) {
    ChannelDatabase db = fullDatabase();
    for (auto _ : state) benchmark::DoNotOptimize(buildChannelFile(db, {}, 3).data());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fullFile().size()));
}

// The real save: copy of the database, build, temporary file, fsync, rename.
void BM_SaveChannelFileAtomically(benchmark::State& state) {
    ChannelDatabase db = fullDatabase();
    for (auto _ : state) benchmark::DoNotOptimize(saveChannelFile(scratchPath(), db, {}, 3).ok);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fullFile().size()));
}

BENCHMARK(BM_RawRead)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadChannelFile)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadChannelFileFromMemory)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RawWrite)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BuildAndWrite)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BuildChannelFileInMemory)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveChannelFileAtomically)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::remove(scratchPath().c_str());
    return 0;
}
