// The one serial port between the PC and the receiver. A watcher thread owns
// the device: it moves every received byte into QueueRead and tells the owner
// (through its message queue) for the direction that is armed; writes from
// the owner's thread are handed to it and wait until the driver took them.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "link/byte_queue.h"
#include "link/link_port.h"
#include "link/port_params.h"
#include "link/transfer_events.h"
#include "ui/messages.h"

class QThread;

namespace zoedit::link {

inline constexpr char kMsgQueueFull[] = "serial port QueueRead FULL!";
inline constexpr char kMsgWatchFailed[] = "Error while creating ThreadWatchComm, ";

class CCommPort : public LinkPort {
public:
    // The owner keeps the two arming flags; the watcher only reads them.
    CCommPort(ui::MessagePoster& owner, const TransferFlags& flags);
    ~CCommPort() override;
    CCommPort(const CCommPort&) = delete;
    CCommPort& operator=(const CCommPort&) = delete;

    // Only while closed. False when the device cannot be opened or refuses a
    // setting; lastError() then says why.
    bool OpenPort(const PortParams& params) override;
    // Ends the watcher and waits for it; a write still waiting is abandoned.
    // What the driver took goes out first (within a bound set by the line
    // speed); unread input is discarded. QueueRead keeps its bytes.
    void ClosePort() override;
    // From the owner's thread. Returns the bytes the driver took: all of them,
    // or fewer when the port closes or the line fails first. Waits at most
    // twice the time the line needs for `count` bytes (plus an allowance);
    // past that the line counts as stopped and lost.
    std::size_t WriteComm(const std::uint8_t* bytes, std::size_t count) override;

    bool isOpen() const { return connected_.load(std::memory_order_acquire); }
    // The far end hung up (or the device went away) while open: nothing more
    // will arrive until the port is closed and opened again.
    bool lineLost() const { return line_lost_.load(std::memory_order_acquire); }
    // A write found the line stopped (flow control held it, or the device
    // took nothing) for longer than the line needs.
    bool lineStopped() const { return line_stopped_.load(std::memory_order_acquire); }
    std::string lastError() const;

    // Where the watcher's complaints go (queue overflow, line lost). Set
    // before OpenPort; called on the watcher thread. Default: stderr.
    void setDiagnosticHandler(std::function<void(const std::string&)> handler);

    // Filled by the watcher only, emptied by the owner only.
    CByteQueue QueueRead;

private:
    struct Watch;  // the watcher's own state, device included

    void ThreadWatchComm(Watch& watch);
    std::size_t ReadComm(Watch& watch, std::uint8_t* buffer, std::size_t max);
    void serviceWrite(Watch& watch);
    void finishWrite(bool accept_more);
    void notifyOwner();
    void wake();
    void diagnose(const std::string& text);
    void setLastError(const std::string& text);

    ui::MessagePoster& owner_;
    const std::atomic<int>& m_bDownloadActive;
    const std::atomic<int>& m_bUploadActive;

    std::atomic<bool> connected_{false};
    std::atomic<bool> line_lost_{false};
    std::atomic<bool> line_stopped_{false};
    std::uint16_t port_id_ = 0;
    std::string port_name_;
    LineSettings line_;  // written by the watcher before OpenPort returns
    int wake_fd_ = -1;
    std::unique_ptr<QThread> thread_;
    std::function<void(const std::string&)> diagnostic_;

    // The one write in flight, guarded by write_mutex_.
    std::mutex write_mutex_;
    std::condition_variable write_done_;
    const std::uint8_t* write_data_ = nullptr;
    std::size_t write_size_ = 0;
    std::size_t write_taken_ = 0;
    bool write_pending_ = false;
    bool accepting_writes_ = false;  // only while the watcher runs and the line is up

    mutable std::mutex error_mutex_;
    std::string last_error_;
};

}  // namespace zoedit::link
