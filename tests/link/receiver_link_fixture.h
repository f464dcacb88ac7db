// A ReceiverLink over the fake platform, with the receiver emulator wired to
// the fake port as the far end: what the PC writes reaches the emulator at
// once, what the emulator answers lands in the receive queue and is announced
// as the port's watcher would.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "link/receiver_emulator.h"
#include "link/receiver_link.h"
#include "support/fake_platform.h"
#include "support/link_fixture.h"

namespace zoedit::test {

class LoopbackPort : public link::LinkPort {
public:
    LoopbackPort(link::TransferFlags& flags, ui::MessagePoster& poster)
        : flags_(flags), poster_(poster) {}

    bool OpenPort(const link::PortParams& params) override {
        opened.push_back(params.port_name);
        return open_result;
    }
    void ClosePort() override { ++closes; }
    std::size_t WriteComm(const std::uint8_t* bytes, std::size_t count) override {
        written.insert(written.end(), bytes, bytes + count);
        if (far_end) far_end->receive(std::span<const std::uint8_t>(bytes, count));
        return count;
    }

    // Bytes "received": queued and announced for the armed direction.
    void arrive(std::span<const std::uint8_t> bytes) {
        incoming.insert(incoming.end(), bytes.begin(), bytes.end());
        if (flags_.m_bDownloadActive) poster_.postMessage({ui::UM_DOWNLOAD_RX, 0, 0});
        if (flags_.m_bUploadActive) poster_.postMessage({ui::UM_UPLOAD_RX, 0, 0});
    }
    std::size_t drain(std::uint8_t* out, std::size_t max) {
        std::size_t n = 0;
        while (n < max && !incoming.empty()) {
            out[n++] = incoming.front();
            incoming.pop_front();
        }
        return n;
    }
    void attach(link::ReceiverOptions options) {
        far_end = std::make_unique<link::ReceiverEmulator>(
            std::move(options), [this](std::span<const std::uint8_t> b) { arrive(b); });
    }

    bool open_result = true;
    std::vector<std::string> opened;
    int closes = 0;
    std::vector<std::uint8_t> written;
    std::deque<std::uint8_t> incoming;
    std::unique_ptr<link::ReceiverEmulator> far_end;

private:
    link::TransferFlags& flags_;
    ui::MessagePoster& poster_;
};

struct LinkRig {
    LinkRig()
        : port(flags, platform.queue),
          link({platform.dialogs, platform.status, platform.queue, port, flags,
                [this](std::uint8_t* out, std::size_t max) { return port.drain(out, max); }},
               dir.path("config.ini").string(),
               {[this] { return devices; }, [this](const std::string& t) { pane = t; },
                [this] { return now; }}) {}

    // Delivers posted messages to the link until none is left or the running
    // dialog has ended.
    // A link that keeps posting fails the test instead of hanging it.
    void pump(FakeDialogHost* host = nullptr) {
        constexpr int kMaxRounds = 100000;
        for (int round = 0; !(host && host->result()); ++round) {
            if (round == kMaxRounds) {
                ADD_FAILURE() << "the link was still posting after " << kMaxRounds << " rounds";
                return;
            }
            if (platform.queue.pump([this](const ui::Message& m) { link.onMessage(m); }) == 0)
                return;
        }
    }
    std::string configText() const {
        std::ifstream in(dir.path("config.ini"));
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    TempDir dir;
    FakePlatform platform{{}};
    link::TransferFlags flags;
    LoopbackPort port;
    std::vector<std::string> devices;
    std::string pane;
    double now = 0.0;
    link::ReceiverLink link;
};

}  // namespace zoedit::test
