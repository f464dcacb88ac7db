// The receiver's side of the link, for tests, demonstrations and anyone
// without a receiver at hand. It answers a download from the PC (ready byte,
// acknowledgements, rejections, verdicts) and serves an upload to the PC
// (header frame, block frames, end byte), byte for byte as the PC machines
// expect. Pure logic: bytes in through receive(), bytes out through a function.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "link/link_frames.h"

namespace zoedit::link {

struct ReceiverOptions {
    enum class Reject { None, Hw, Sw, Model };
    enum class Verdict { Done, Checksum, Verify };

    Reject reject = Reject::None;  // answer every header with this rejection
    Verdict verdict = Verdict::Done;
    std::vector<std::uint8_t> send_file;  // what it sends when the PC asks; empty: nothing
    std::string save_path;                // where it stores what it receives; empty: memory only
    std::size_t split = 0;                // deliver each frame in pieces of this many bytes
    std::size_t noise = 0;                // stray bytes before its first answer
    // Stop an upload once this many blocks have been acknowledged and send
    // nothing more of it until reset(); 0: never. Lets a test act at a known
    // point of a transfer however fast or slow the machine is.
    std::size_t hold_after_blocks = 0;
};

class ReceiverEmulator {
public:
    enum class State {
        Idle,           // announcing readiness, waiting for a header or a request
        CollectHeader,  // gathering the PC's header frame
        ReceiveBlocks,  // gathering block frames until the end byte
        WaitHeaderAck,  // sent its header frame
        WaitBlockAck,   // sent a block frame (or the end byte, see WaitVerdict)
        WaitVerdict,    // sent the end byte
    };

    ReceiverEmulator(ReceiverOptions options, SendBytes deliver);

    // Tells the PC it is ready to receive (only while idle). A real receiver
    // does this when its user starts the transfer. The noise goes before the
    // first answer, and before every announcement until the PC has spoken.
    void announce();
    void receive(std::span<const std::uint8_t> bytes);
    // Gives up a transfer the PC abandoned (the caller decides when).
    void reset();
    // Set while an upload waits at its hold point.
    bool held() const { return held_; }

    State state() const { return state_; }
    bool idle() const { return state_ == State::Idle; }

    // The last complete download: header and data trimmed to data_length.
    const std::vector<std::uint8_t>& received() const { return received_; }
    int downloadsCompleted() const { return downloads_; }
    int uploadsCompleted() const { return uploads_; }
    std::optional<std::uint8_t> lastUploadVerdict() const { return upload_verdict_; }
    // Set when storing to save_path failed.
    const std::optional<std::string>& saveError() const { return save_error_; }

private:
    void onByte(std::uint8_t b);
    void emit(std::span<const std::uint8_t> frame);
    void emitByte(std::uint8_t b) { emit(std::span<const std::uint8_t>(&b, 1)); }
    void headerReceived();
    void blockReceived();
    void endReceived();
    void sendNextBlock();
    void store();

    ReceiverOptions options_;
    SendBytes deliver_;
    State state_ = State::Idle;
    bool noise_sent_ = false;
    bool heard_ = false;
    std::vector<std::uint8_t> frame_;     // the frame being gathered
    std::vector<std::uint8_t> incoming_;  // header and data of the download so far
    bool framing_ok_ = true;
    std::size_t next_block_ = 0;  // offset into send_file of the next block to send
    std::size_t blocks_acked_ = 0;
    bool held_ = false;
    std::vector<std::uint8_t> received_;
    int downloads_ = 0;
    int uploads_ = 0;
    std::optional<std::uint8_t> upload_verdict_;
    std::optional<std::string> save_error_;
};

}  // namespace zoedit::link
