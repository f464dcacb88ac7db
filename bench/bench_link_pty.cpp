// Whole transfers of a full-capacity channel file over a pseudo-terminal:
// CCommPort and the transfer machines on one side, the receiver emulator
// served by a thread on the other. Unpaced, so the figure is the link code's
// own cost per 1,029-byte block (one block in flight at a time).
#include <benchmark/benchmark.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <memory>
#include <thread>

#include "database/big_endian.h"
#include "database/channel_file.h"
#include "database/sample_database.h"
#include "link/receiver_emulator.h"
#include "link/serial/transfer_session.h"
#include "support/link_fixture.h"
#include "support/pty_pair.h"

// Last: its keyword macros would clash with the emulator's names.
#include <QCoreApplication>

namespace {

using namespace zoedit;

std::vector<std::uint8_t> fullFile() {
    auto db = std::make_unique<ChannelDatabase>();
    buildSampleDatabase(*db, SampleSize::Full);
    std::vector<std::uint8_t> bytes = buildChannelFile(
        *db, SaveFolding{}, db->tv.count > 0 ? db->tv.primary[0].transponder_index : -1);
    be::put16(bytes.data() + 4, 0x80);  // a usage type the download sends
    return bytes;
}

// The far end: the emulator on the master side until told to stop.
class FarEnd {
public:
    FarEnd(testing::PtyPair& pty, const std::vector<std::uint8_t>& file) : pty_(pty) {
        link::ReceiverOptions options;
        options.send_file = file;
        receiver_ = std::make_unique<link::ReceiverEmulator>(
            options, [this](std::span<const std::uint8_t> bytes) { deliver(bytes); });
        thread_ = std::thread([this] { serve(); });
    }
    ~FarEnd() {
        stop_ = true;
        thread_.join();
    }

private:
    void deliver(std::span<const std::uint8_t> bytes) {
        std::vector<std::uint8_t> copy(bytes.begin(), bytes.end());
        pty_.writeMaster(copy);
    }
    void serve() {
        receiver_->announce();
        std::uint8_t buffer[4096];
        while (!stop_) {
            pollfd p{pty_.masterFd(), POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0) {
                if (receiver_->idle()) receiver_->announce();
                continue;
            }
            const ssize_t n = ::read(pty_.masterFd(), buffer, sizeof buffer);
            if (n > 0) receiver_->receive(std::span<const std::uint8_t>(buffer, n));
        }
    }

    testing::PtyPair& pty_;
    std::unique_ptr<link::ReceiverEmulator> receiver_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

link::TransferOptions optionsFor(const std::string& path) {
    link::TransferOptions options;
    options.port = link::PortParams{path, 115200, 1, "8", "None", "1", 0};
    options.timeout = std::chrono::seconds(30);
    return options;
}

void reportBlocks(benchmark::State& state, std::size_t file_size) {
    const auto blocks = static_cast<double>((file_size - 64) / 1024 + 1);
    state.counters["blocks/s"] = benchmark::Counter(
        blocks * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_UploadFullFile(benchmark::State& state) {
    const auto file = fullFile();
    test::TempDir dir;
    for (auto _ : state) {
        testing::PtyPair pty;
        FarEnd far_end(pty, file);
        const auto result =
            link::receiveChannelFile(dir.path("out.bin").string(), optionsFor(pty.slavePath()));
        if (!result.ok()) state.SkipWithError(result.message.c_str());
    }
    reportBlocks(state, file.size());
}

void BM_DownloadFullFile(benchmark::State& state) {
    const auto file = fullFile();
    test::TempDir dir;
    test::writeBytes(dir.path("in.bin"), file);
    for (auto _ : state) {
        testing::PtyPair pty;
        FarEnd far_end(pty, file);
        const auto result =
            link::sendChannelFile(dir.path("in.bin").string(), optionsFor(pty.slavePath()));
        if (!result.ok()) state.SkipWithError(result.message.c_str());
    }
    reportBlocks(state, file.size());
}

BENCHMARK(BM_UploadFullFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_DownloadFullFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace

// The serial port's watcher needs the application object.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
