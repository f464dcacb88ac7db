#include "link/serial/comm_port.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <QSerialPort>
#include <QThread>
#include <cerrno>
#include <cstring>
#include <future>
#include <iostream>
#include <vector>

#include "link/line_timing.h"
#include "link/serial/line_config.h"
#include "link/serial/output_drain.h"

namespace zoedit::link {

namespace {
constexpr std::size_t kReadChunk = 8196;
}

// Lives on the watcher's stack: only the watcher touches the device. Data
// moves through the device's own handle so that the watcher sleeps in one
// poll on both the line and its wake-up event.
struct CCommPort::Watch {
    QSerialPort* port = nullptr;
    int fd = -1;
    bool read_failed = false;
};

CCommPort::CCommPort(ui::MessagePoster& owner, const TransferFlags& flags)
    : owner_(owner),
      m_bDownloadActive(flags.m_bDownloadActive),
      m_bUploadActive(flags.m_bUploadActive) {}

CCommPort::~CCommPort() {
    ClosePort();
}

void CCommPort::setDiagnosticHandler(std::function<void(const std::string&)> handler) {
    diagnostic_ = std::move(handler);
}

std::string CCommPort::lastError() const {
    std::lock_guard lock(error_mutex_);
    return last_error_;
}

void CCommPort::setLastError(const std::string& text) {
    std::lock_guard lock(error_mutex_);
    last_error_ = text;
}

void CCommPort::diagnose(const std::string& text) {
    if (diagnostic_) {
        diagnostic_(text);
    } else {
        std::cerr << text << '\n';
    }
}

bool CCommPort::OpenPort(const PortParams& params) {
    if (thread_) {
        setLastError("The port is already open.");
        return false;
    }
    connected_.store(false, std::memory_order_release);
    line_lost_.store(false, std::memory_order_release);
    line_stopped_.store(false, std::memory_order_release);
    port_id_ = params.port_id;
    port_name_ = params.port_name;
    const std::string device = devicePathForPortName(params.port_name);
    if (device.empty()) {
        setLastError("No serial device is called \"" + params.port_name + "\".");
        return false;
    }
    wake_fd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake_fd_ < 0) {
        setLastError(std::strerror(errno));
        diagnose(kMsgWatchFailed + port_name_);
        return false;
    }

    auto ready = std::make_shared<std::promise<bool>>();
    std::future<bool> opened = ready->get_future();
    thread_.reset(QThread::create([this, device, params, ready] {
        QSerialPort port;
        std::string error;
        if (!openConfigured(port, device, params, error)) {
            setLastError(error);
            ready->set_value(false);
            return;
        }
        {
            std::lock_guard lock(write_mutex_);
            accepting_writes_ = true;
        }
        line_ = currentLineSettings(port);
        connected_.store(true, std::memory_order_release);
        ready->set_value(true);
        Watch watch{&port, static_cast<int>(port.handle()), false};
        ThreadWatchComm(watch);
        // What was written still goes out (the last byte is often the
        // verdict the far end waits for); only unread input is thrown away.
        if (!drainOutput(port, lineTimeBound(static_cast<std::size_t>(unsentBytes(port)), line_))) {
            diagnose("serial port closed before everything was sent: " + port_name_);
        }
        port.clear(QSerialPort::Input);
        port.close();
    }));
    thread_->start();
    if (opened.get()) return true;
    thread_->wait();
    thread_.reset();
    ::close(wake_fd_);
    wake_fd_ = -1;
    return false;
}

void CCommPort::ClosePort() {
    if (!thread_) return;
    // Cleared before the wake-up, so the woken watcher finds it clear.
    connected_.store(false, std::memory_order_release);
    wake();
    thread_->wait();
    thread_.reset();
    ::close(wake_fd_);
    wake_fd_ = -1;
}

void CCommPort::wake() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(wake_fd_, &one, sizeof one);
}

std::size_t CCommPort::WriteComm(const std::uint8_t* bytes, std::size_t count) {
    if (count == 0) return 0;
    std::unique_lock lock(write_mutex_);
    if (!accepting_writes_) return 0;
    write_data_ = bytes;
    write_size_ = count;
    write_taken_ = 0;
    write_pending_ = true;
    lock.unlock();
    wake();
    lock.lock();
    // A line held stopped by flow control (or a device that takes nothing)
    // must not hang the caller: past the time the line needs, it has failed.
    const auto bound = lineTimeBound(count, line_);
    if (!write_done_.wait_for(lock, bound, [this] { return !write_pending_; })) {
        // The watcher writes only under this lock: once cleared here, it no
        // longer touches the caller's bytes.
        write_pending_ = false;
        accepting_writes_ = false;
        line_stopped_.store(true, std::memory_order_release);
        line_lost_.store(true, std::memory_order_release);
        lock.unlock();
        diagnose("serial line stopped: " + port_name_ + " took " + std::to_string(write_taken_) +
                 " of " + std::to_string(count) + " bytes in " + std::to_string(bound.count()) +
                 " ms");
        lock.lock();
    }
    write_data_ = nullptr;
    return write_taken_;
}

void CCommPort::serviceWrite(Watch& watch) {
    std::lock_guard lock(write_mutex_);
    if (!write_pending_) return;
    while (write_taken_ < write_size_) {
        const ssize_t n = ::write(watch.fd, write_data_ + write_taken_, write_size_ - write_taken_);
        if (n > 0) {
            write_taken_ += static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            return;  // the driver is full: the next poll says when it has room
        } else {
            break;  // a failed line takes no more; the caller gets the count so far
        }
    }
    write_pending_ = false;
    write_done_.notify_all();
}

void CCommPort::finishWrite(bool accept_more) {
    std::lock_guard lock(write_mutex_);
    accepting_writes_ = accept_more && accepting_writes_;
    if (write_pending_) {
        write_pending_ = false;
        write_done_.notify_all();
    }
}

std::size_t CCommPort::ReadComm(Watch& watch, std::uint8_t* buffer, std::size_t max) {
    for (;;) {
        const ssize_t n = ::read(watch.fd, buffer, max);
        if (n > 0) return static_cast<std::size_t>(n);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) watch.read_failed = true;
        return 0;
    }
}

void CCommPort::notifyOwner() {
    const auto wparam = static_cast<std::intptr_t>(port_id_);
    if (m_bDownloadActive.load(std::memory_order_acquire) != 0) {
        owner_.postMessage({ui::UM_DOWNLOAD_RX, wparam, 0});
    }
    if (m_bUploadActive.load(std::memory_order_acquire) != 0) {
        owner_.postMessage({ui::UM_UPLOAD_RX, wparam, 0});
    }
}

void CCommPort::ThreadWatchComm(Watch& watch) {
    std::vector<std::uint8_t> chunk(kReadChunk);
    bool line_up = true;
    while (connected_.load(std::memory_order_acquire)) {
        bool writing = false;
        {
            std::lock_guard lock(write_mutex_);
            writing = write_pending_;
        }
        pollfd fds[2] = {{wake_fd_, POLLIN, 0}, {watch.fd, POLLIN, 0}};
        if (writing) fds[1].events |= POLLOUT;
        if (::poll(fds, line_up ? 2 : 1, -1) < 0) {
            if (errno == EINTR) continue;
            diagnose(std::string("serial port wait failed: ") + std::strerror(errno));
            break;
        }
        if (fds[0].revents & POLLIN) {
            std::uint64_t count = 0;
            [[maybe_unused]] const ssize_t n = ::read(wake_fd_, &count, sizeof count);
        }
        if (!connected_.load(std::memory_order_acquire)) break;
        if (!line_up) continue;

        if (writing) serviceWrite(watch);
        const short events = fds[1].revents;
        if ((events & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) == 0) continue;

        std::size_t received = 0;
        for (;;) {
            const std::size_t n = ReadComm(watch, chunk.data(), chunk.size());
            if (n == 0) break;
            received += n;
            // A chunk that does not fit whole is dropped whole; the queue keeps
            // what it holds.
            if (!QueueRead.putAll(chunk.data(), n)) diagnose(kMsgQueueFull);
        }
        const bool hung_up = (events & (POLLHUP | POLLERR | POLLNVAL)) != 0 && received == 0;
        if (watch.read_failed || hung_up) {
            line_up = false;
            line_lost_.store(true, std::memory_order_release);
            finishWrite(false);
            diagnose("serial line lost: " + port_name_);
        }
        // Also after a wake-up that found nothing, so the owner's handler runs.
        notifyOwner();
    }
    finishWrite(false);
}

}  // namespace zoedit::link
