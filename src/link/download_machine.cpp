#include "link/download_machine.h"

#include <algorithm>
#include <fstream>

namespace zoedit::link {

namespace {
// Far beyond any channel file the tables can fill (a few megabytes), and
// well inside the link's 32-bit offsets and progress positions.
constexpr std::size_t kLargestFile = std::size_t{64} << 20;

bool contains(std::span<const std::uint8_t> batch, std::uint8_t value) {
    return std::find(batch.begin(), batch.end(), value) != batch.end();
}
}  // namespace

DownloadMachine::DownloadMachine(TransferFlags& flags, SendBytes send, TransferEvents& events)
    : flags_(flags), send_(std::move(send)), events_(events) {}

bool DownloadMachine::prepareFile(const std::string& path) {
    verdict_ = TransferVerdict::FileRefused;
    flags_.m_bDownloadActive = 1;
    flags_.m_bUploadActive = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        flags_.m_bDownloadActive = 0;
        return false;
    }
    // Read in pieces and stop past the largest file the link can carry, so a
    // device or an enormous file chosen by mistake cannot exhaust memory.
    std::vector<std::uint8_t> bytes;
    char chunk[65536];
    while (in && bytes.size() <= kLargestFile) {
        in.read(chunk, sizeof chunk);
        bytes.insert(bytes.end(), chunk, chunk + in.gcount());
    }
    if (in.bad()) {
        flags_.m_bDownloadActive = 0;
        return false;
    }
    return prepare(bytes);
}

bool DownloadMachine::prepare(std::span<const std::uint8_t> file) {
    flags_.m_bDownloadActive = 1;
    flags_.m_bUploadActive = 0;
    verdict_ = TransferVerdict::FileRefused;
    // A file too short to hold a header would otherwise send garbage.
    if (file.size() < kLinkHeaderSize || file.size() > kLargestFile) {
        refuse(kMsgInvalidDataFormat);
        return false;
    }
    const FileHeader header = parseLinkHeader(file.first<kLinkHeaderSize>());
    if (header.magic != kFileMagic) {
        refuse(kMsgInvalidDataFormat);
        return false;
    }
    const std::uint8_t kind = header.usage_type & 0xFF;
    if (kind == 1 || kind == 3) {
        mode_ = TransferMode::C;
    } else if (kind == 0 || kind == 0x80) {
        mode_ = TransferMode::M;
    } else {
        refuse(kMsgInvalidDataFormatShort);
        return false;
    }
    header_ = header;
    image_.assign(transferImageSize(file.size()), 0xFF);
    std::copy(file.begin(), file.end(), image_.begin());
    state_ = State::WaitReady;
    offset_ = kLinkHeaderSize;
    verdict_ = TransferVerdict::Pending;
    return true;
}

void DownloadMachine::end(TransferVerdict verdict, const char* message) {
    verdict_ = verdict;
    events_.messageBox(message);
}

void DownloadMachine::refuse(const char* message) {
    events_.messageBox(message);
    flags_.m_bDownloadActive = 0;
}

std::uint32_t DownloadMachine::progressTotal() const {
    if (mode_ == TransferMode::C || header_.secondary_length == 0) return header_.data_length;
    return header_.secondary_length;
}

void DownloadMachine::rest() {
    state_ = State::WaitReady;
    offset_ = kLinkHeaderSize;
    flags_.m_bDownloadActive = 0;
}

void DownloadMachine::cancel() {
    rest();
}

void DownloadMachine::step(std::span<const std::uint8_t> batch, bool port_open) {
    if (!port_open) {
        events_.messageBox(kMsgPortNotOpen);
        return;
    }
    if (batch.empty()) return;
    switch (state_) {
        case State::WaitReady:
            onReady(batch);
            break;
        case State::HeaderSent:
            onHeaderAnswer(batch);
            break;
        case State::SendBlock:
            sendBlock();
            break;
        case State::BlockSent:
            onBlockAnswer(batch);
            break;
        case State::EndSent:
            onVerdict(batch);
            break;
    }
}

void DownloadMachine::onReady(std::span<const std::uint8_t> batch) {
    // Bytes after the ready byte are not an answer to a header not yet sent.
    if (!contains(batch, LINK_READY)) return;
    if (image_.empty()) return;  // nothing prepared: a stray ready byte
    const std::uint16_t usage = header_.usage_type;
    if (usage != 2 && usage != 3 && usage != 0x80) {
        // Ending the whole program here would lose the user's unsaved edits:
        // end this download only.
        end(TransferVerdict::UnknownUsage, kMsgUnknownUsageType);
        rest();
        events_.close();
        return;
    }
    const HeaderFrame frame = headerFrame(header_);
    send_(frame);
    state_ = State::HeaderSent;
}

void DownloadMachine::onHeaderAnswer(std::span<const std::uint8_t> batch) {
    for (std::uint8_t b : batch) {
        const char* rejection = nullptr;
        if (b == LINK_ACK) {
            state_ = State::SendBlock;
            sendBlock();
            return;
        }
        if (b == LINK_BAD_HW) rejection = kMsgHwVersionError;
        if (b == LINK_BAD_SW) rejection = kMsgSwVersionError;
        if (b == LINK_BAD_MODEL) rejection = kMsgModelIdError;
        if (rejection) {
            end(TransferVerdict::HeaderRejected, rejection);
            flags_.m_bDownloadActive = 0;
            state_ = State::WaitReady;
            return;
        }
    }
}

void DownloadMachine::sendBlock() {
    const BlockFrame frame = blockFrame(
        std::span<const std::uint8_t, kBlockDataSize>(image_.data() + offset_, kBlockDataSize));
    send_(frame);
    offset_ += kBlockDataSize;
    state_ = State::BlockSent;
}

void DownloadMachine::onBlockAnswer(std::span<const std::uint8_t> batch) {
    // Only an acknowledgement moves the transfer on; a verdict byte here is noise.
    if (!contains(batch, LINK_ACK)) return;
    if (image_.size() > offset_) {
        events_.progress(offset_);
        state_ = State::SendBlock;
        sendBlock();
        return;
    }
    if (mode_ == TransferMode::C) {
        events_.progress(header_.data_length);
    } else {
        events_.progress(header_.secondary_length);
        if (header_.secondary_length == 0) events_.progress(header_.data_length);
    }
    state_ = State::EndSent;
    const std::uint8_t end = LINK_END;
    send_(std::span<const std::uint8_t>(&end, 1));
}

void DownloadMachine::onVerdict(std::span<const std::uint8_t> batch) {
    for (std::uint8_t b : batch) {
        if (b == LINK_BAD_CHECKSUM) {
            end(TransferVerdict::ChecksumError, kMsgChecksumError);
        } else if (b == LINK_BAD_VERIFY) {
            end(TransferVerdict::VerifyError, kMsgVerifyError);
        } else if (b == LINK_DONE) {
            end(TransferVerdict::Done, kMsgDownloadOk);
            events_.close();
        } else {
            continue;
        }
        rest();
        return;
    }
}

}  // namespace zoedit::link
