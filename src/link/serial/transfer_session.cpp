#include "link/serial/transfer_session.h"

#include <optional>
#include <vector>

#include "link/download_machine.h"
#include "link/port_command.h"
#include "link/serial/comm_port.h"
#include "link/serial/message_queue.h"
#include "link/upload_machine.h"

namespace zoedit::link {

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// The download handler takes at most this much per run of the machine; the
// upload's takes a whole queue.
constexpr std::size_t kDownloadBatch = 8196;
constexpr std::size_t kUploadBatch = 65536;
// How often the loop looks at cancel, time-out and line while nothing is posted.
constexpr auto kTurn = 50ms;

// Stands in for the progress dialog and the message boxes.
class SessionEvents : public TransferEvents {
public:
    explicit SessionEvents(const TransferOptions& options) : options_(options) {}
    void progress(std::uint32_t position) override {
        if (options_.progress) options_.progress(position, total);
    }
    void close() override {}  // the machine's verdict says how it ended
    void messageBox(const std::string& text) override {
        last_message = text;
        if (options_.message) options_.message(text);
    }
    void statusText(const std::string& text) override {
        last_message = text;
        if (options_.message && !text.empty()) options_.message(text);
    }

    std::uint32_t total = 0;
    std::string last_message;

private:
    const TransferOptions& options_;
};

// Runs the machine until `finished` has a result.
template <typename Step, typename Finished, typename Cancel>
TransferResult pump(CCommPort& port, MessageQueue& queue, const TransferOptions& options,
                    unsigned rx_message, std::size_t batch_size, Step step, Finished finished,
                    Cancel cancel) {
    std::vector<std::uint8_t> batch(batch_size);
    auto last_heard = Clock::now();
    for (;;) {
        if (auto result = finished()) return *result;
        if (options.cancel != nullptr && options.cancel->load()) {
            cancel();
            return {TransferOutcome::Cancelled, kMsgCancelled};
        }
        const auto message = queue.take(kTurn);
        if (message && message->id == rx_message) {
            std::size_t n = 0;
            while ((n = port.QueueRead.getSome(batch.data(), batch.size())) > 0) {
                last_heard = Clock::now();
                step(std::span<const std::uint8_t>(batch.data(), n));
                if (finished()) break;
            }
            // The verdict may have come with the last bytes, just before a hang-up.
            if (auto result = finished()) return *result;
        }
        if (port.lineStopped()) {
            cancel();
            return {TransferOutcome::LineLost,
                    std::string(kMsgLineStopped) + " (" + options.port.port_name + ")"};
        }
        if (port.lineLost() && port.QueueRead.size() == 0) {
            cancel();
            return {TransferOutcome::LineLost,
                    "The line to the receiver was lost (" + options.port.port_name + ")."};
        }
        if (Clock::now() - last_heard >= options.timeout) {
            cancel();
            const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(options.timeout);
            return {TransferOutcome::TimedOut,
                    "No answer from the receiver for " + std::to_string(seconds.count()) + " s."};
        }
    }
}

// The machine's verdict decides; its last text only goes with the result.
template <typename Machine>
std::optional<TransferResult> resultOf(const Machine& machine, const std::atomic<int>& armed,
                                       const std::string& text) {
    switch (machine.verdict()) {
        case TransferVerdict::Done:
            return TransferResult{TransferOutcome::Succeeded, text};
        case TransferVerdict::Pending:
            if (armed.load() != 0) return std::nullopt;
            return TransferResult{TransferOutcome::Refused, text};
        default:
            return TransferResult{TransferOutcome::Refused, text};
    }
}

TransferResult portFailure(const CCommPort& port, const PortParams& params) {
    return {TransferOutcome::PortFailed, portFailureText(params.port_name, port.lastError())};
}

void setUp(CCommPort& port, const TransferOptions& options) {
    if (options.diagnostic) port.setDiagnosticHandler(options.diagnostic);
}

}  // namespace

TransferResult sendChannelFile(const std::string& path, const TransferOptions& options) {
    TransferFlags flags;
    MessageQueue queue;
    CCommPort port(queue, flags);
    setUp(port, options);
    SessionEvents events(options);
    DownloadMachine machine(
        flags,
        [&port](std::span<const std::uint8_t> bytes) {
            port.WriteComm(bytes.data(), bytes.size());
        },
        events);
    if (!machine.prepareFile(path)) {
        return {TransferOutcome::Refused,
                events.last_message.empty() ? "Cannot read " + path : events.last_message};
    }
    events.total = machine.progressTotal();
    if (!port.OpenPort(options.port)) {
        machine.cancel();
        return portFailure(port, options.port);
    }
    const auto finished = [&] {
        return resultOf(machine, flags.m_bDownloadActive, events.last_message);
    };
    TransferResult result = pump(
        port, queue, options, ui::UM_DOWNLOAD_RX, kDownloadBatch,
        [&](std::span<const std::uint8_t> batch) { machine.step(batch); }, finished,
        [&] { machine.cancel(); });
    port.ClosePort();
    return result;
}

TransferResult receiveChannelFile(const std::string& path, const TransferOptions& options) {
    TransferFlags flags;
    MessageQueue queue;
    CCommPort port(queue, flags);
    setUp(port, options);
    SessionEvents events(options);
    UploadMachine machine(
        flags,
        [&port](std::span<const std::uint8_t> bytes) {
            port.WriteComm(bytes.data(), bytes.size());
        },
        events);
    machine.arm(path);
    machine.keepBackups(options.backups);
    if (!port.OpenPort(options.port)) {
        machine.cancel();
        return portFailure(port, options.port);
    }
    machine.start();
    // A checksum mismatch leaves the machine armed with its verdict given.
    const auto finished = [&] {
        return resultOf(machine, flags.m_bUploadActive, events.last_message);
    };
    TransferResult result = pump(
        port, queue, options, ui::UM_UPLOAD_RX, kUploadBatch,
        [&](std::span<const std::uint8_t> batch) {
            machine.step(batch);
            if (machine.state() == UploadMachine::State::ReceiveBlocks && events.total == 0) {
                // Whole frames the receiver will send for the data it announced.
                const std::uint32_t n = machine.header().data_length;
                events.total = static_cast<std::uint32_t>((n + kBlockDataSize - 1) /
                                                          kBlockDataSize * kBlockFrameSize);
            }
        },
        finished, [&] { machine.cancel(); });
    port.ClosePort();
    if (!machine.backupWarning().empty() && options.diagnostic)
        options.diagnostic(machine.backupWarning());
    return result;
}

}  // namespace zoedit::link
