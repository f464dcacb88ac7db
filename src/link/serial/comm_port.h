// The one serial port between the PC and the receiver. A watcher thread owns
// the device and runs its event loop: it moves every received byte into
// QueueRead and tells the owner (through its message queue) for the direction
// that is armed; writes from the owner's thread are queued for it, and a
// write waits only for the one before it to reach the driver. The watcher
// reaches the device through the serial port's own signals in its event
// loop, which needs the program's QCoreApplication (or QApplication).
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "link/byte_queue.h"
#include "link/link_port.h"
#include "link/port_params.h"
#include "link/transfer_events.h"
#include "ui/messages.h"

class QEventLoop;
class QSerialPort;

namespace zoedit::link {

inline constexpr char kMsgQueueFull[] = "serial port QueueRead FULL!";
inline constexpr char kMsgWatchFailed[] = "Error while creating ThreadWatchComm, ";
inline constexpr char kMsgNoApplication[] =
    "The serial port cannot be opened before the program's Qt application object exists.";

class WatcherWake;

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
    // Ends the watcher and waits for it. What was written goes out first
    // (within a bound set by the line speed); unread input is discarded.
    // QueueRead keeps its bytes.
    void ClosePort() override;
    // Queues the bytes for the line and returns `count`, or 0 when the port
    // is closed or the line is lost. The write before must have reached the
    // driver first: it gets twice the time the line needs for what is left of
    // it (plus an allowance), and past that the line counts as stopped and
    // lost. So the caller never waits on the watcher for a line that moves.
    std::size_t WriteComm(const std::uint8_t* bytes, std::size_t count) override;

    bool isOpen() const { return connected_.load(std::memory_order_acquire); }
    // The far end hung up (or the device went away) while open: nothing more
    // will arrive until the port is closed and opened again.
    bool lineLost() const { return line_lost_.load(std::memory_order_acquire); }
    // A write found the line stopped (flow control held it, or the device
    // took nothing) for longer than the line needs.
    bool lineStopped() const { return line_stopped_.load(std::memory_order_acquire); }
    std::string lastError() const override;

    // Where the watcher's complaints go (queue overflow, line lost). Set
    // before OpenPort; called on the watcher thread. Default: stderr.
    void setDiagnosticHandler(std::function<void(const std::string&)> handler);

    // Filled by the watcher only, emptied by the owner only.
    CByteQueue QueueRead;

private:
    void ThreadWatchComm(QSerialPort& port, QEventLoop& loop);
    void ReadComm(QSerialPort& port);
    void handOver(QSerialPort& port);
    void countUnsent(QSerialPort& port);
    void loseLine(QSerialPort& port, const std::string& why);
    void closeDevice(QSerialPort& port);
    void finishWrite(bool accept_more);
    void notifyOwner();
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
    // Lives in the owner's thread; its queued signal wakes the watcher's loop.
    std::unique_ptr<WatcherWake> wake_;
    std::thread thread_;
    std::function<void(const std::string&)> diagnostic_;

    // Written bytes on their way to the driver, guarded by write_mutex_.
    std::mutex write_mutex_;
    std::condition_variable all_sent_;
    std::vector<std::uint8_t> outbox_;  // not yet handed to the device
    std::size_t unsent_ = 0;            // the outbox plus what the device still holds
    bool accepting_writes_ = false;     // only while the watcher runs and the line is up

    mutable std::mutex error_mutex_;
    std::string last_error_;
};

}  // namespace zoedit::link
