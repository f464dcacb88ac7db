#include "link/serial/comm_port.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QObject>
#include <QSerialPort>
#include <array>
#include <future>
#include <iostream>

#include "link/line_timing.h"
#include "link/serial/line_config.h"
#include "link/serial/serial_platform.h"

namespace zoedit::link {

// Emitted from the owner's thread, delivered queued in the watcher's: a
// write to hand over, or the port closing. Only the signal crosses threads;
// what it is about is guarded by the port's own mutex and atomics.
class WatcherWake : public QObject {
    Q_OBJECT
signals:
    void wake();
};

namespace {
constexpr std::size_t kReadChunk = 8196;
}

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
    if (thread_.joinable()) {
        setLastError("The port is already open.");
        return false;
    }
    if (QCoreApplication::instance() == nullptr) {
        setLastError(kMsgNoApplication);
        diagnose(kMsgWatchFailed + params.port_name);
        return false;
    }
    connected_.store(false, std::memory_order_release);
    line_lost_.store(false, std::memory_order_release);
    line_stopped_.store(false, std::memory_order_release);
    port_id_ = params.port_id;
    port_name_ = params.port_name;
    const std::string device = devicePathForPortName(params.port_name);
    if (device.empty()) {
        setLastError("no serial device has this name.");
        return false;
    }
    wake_ = std::make_unique<WatcherWake>();

    // Shared: the watcher may still be inside set_value when OpenPort returns.
    auto ready = std::make_shared<std::promise<bool>>();
    std::future<bool> opened = ready->get_future();
    thread_ = std::thread([this, device, params, ready] {
        // The loop comes first: it gives this thread the event dispatcher
        // that the device's notifiers need.
        QEventLoop loop;
        QSerialPort port;
        std::string error;
        if (!openConfigured(port, device, params, error)) {
            setLastError(error);
            ready->set_value(false);
            return;
        }
        QObject::connect(
            wake_.get(), &WatcherWake::wake, &loop,
            [this, &port, &loop] {
                handOver(port);
                if (!connected_.load(std::memory_order_acquire)) {
                    loop.quit();
                    return;
                }
                // Also after a wake-up that brought nothing, so the owner's handler
                // runs for bytes that came before it armed a direction.
                notifyOwner();
            },
            Qt::QueuedConnection);
        {
            std::lock_guard lock(write_mutex_);
            accepting_writes_ = true;
            outbox_.clear();
            unsent_ = 0;
        }
        line_ = currentLineSettings(port);
        connected_.store(true, std::memory_order_release);
        ready->set_value(true);
        ThreadWatchComm(port, loop);
        closeDevice(port);
    });
    if (opened.get()) return true;
    thread_.join();
    wake_.reset();
    return false;
}

void CCommPort::ClosePort() {
    if (!thread_.joinable()) return;
    // Cleared before the wake-up, so the woken watcher finds it clear.
    connected_.store(false, std::memory_order_release);
    emit wake_->wake();
    thread_.join();
    wake_.reset();
}

std::size_t CCommPort::WriteComm(const std::uint8_t* bytes, std::size_t count) {
    if (count == 0) return 0;
    std::unique_lock lock(write_mutex_);
    if (!accepting_writes_) return 0;
    if (unsent_ > 0) {
        // A line held stopped by flow control (or a device that takes
        // nothing) must not hang the caller: past the time the line needs
        // for what is left, it has failed.
        const auto bound = lineTimeBound(unsent_, line_);
        if (!all_sent_.wait_for(lock, bound,
                                [this] { return unsent_ == 0 || !accepting_writes_; })) {
            accepting_writes_ = false;
            line_stopped_.store(true, std::memory_order_release);
            line_lost_.store(true, std::memory_order_release);
            const std::size_t held = unsent_;
            lock.unlock();
            diagnose("serial line stopped: " + port_name_ + " still held " + std::to_string(held) +
                     " bytes after " + std::to_string(bound.count()) + " ms");
            return 0;
        }
        if (!accepting_writes_) return 0;
    }
    outbox_.insert(outbox_.end(), bytes, bytes + count);
    unsent_ += count;
    lock.unlock();
    emit wake_->wake();
    return count;
}

// The device keeps its own copy and hands it to the driver as the driver
// makes room.
void CCommPort::handOver(QSerialPort& port) {
    std::vector<std::uint8_t> bytes;
    {
        std::lock_guard lock(write_mutex_);
        bytes.swap(outbox_);
    }
    if (bytes.empty() || !port.isOpen()) return;
    const qint64 n =
        port.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    if (n != static_cast<qint64>(bytes.size())) {
        loseLine(port, "serial port write failed: " + port.errorString().toStdString());
        return;
    }
    // To the driver now if it has room, rather than on the next turn of the
    // loop. (flush() would also try a driver that is full, and take its "try
    // again" for a lost device.)
    port.waitForBytesWritten(0);
    countUnsent(port);
}

void CCommPort::countUnsent(QSerialPort& port) {
    std::lock_guard lock(write_mutex_);
    unsent_ = outbox_.size() + static_cast<std::size_t>(std::max<qint64>(0, port.bytesToWrite()));
    if (unsent_ == 0) all_sent_.notify_all();
}

void CCommPort::finishWrite(bool accept_more) {
    std::lock_guard lock(write_mutex_);
    accepting_writes_ = accept_more && accepting_writes_;
    all_sent_.notify_all();
}

void CCommPort::ReadComm(QSerialPort& port) {
    std::array<std::uint8_t, kReadChunk> chunk;
    for (;;) {
        const qint64 n =
            port.read(reinterpret_cast<char*>(chunk.data()), static_cast<qint64>(chunk.size()));
        if (n <= 0) break;
        // A chunk that does not fit whole is dropped whole; the queue keeps
        // what it holds.
        if (!QueueRead.putAll(chunk.data(), static_cast<std::size_t>(n))) diagnose(kMsgQueueFull);
    }
    notifyOwner();
}

// A device that fails to read or write (the far end hung up, the adapter was
// pulled) stays silent until the owner closes and opens the port again.
void CCommPort::loseLine(QSerialPort& port, const std::string& why) {
    if (!port.isOpen()) return;
    ReadComm(port);  // what arrived before the hang-up still counts
    port.close();
    line_lost_.store(true, std::memory_order_release);
    finishWrite(false);
    diagnose(why + ": " + port_name_);
    notifyOwner();
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

void CCommPort::ThreadWatchComm(QSerialPort& port, QEventLoop& loop) {
    QObject::connect(&port, &QSerialPort::readyRead, &loop, [this, &port] { ReadComm(port); });
    QObject::connect(&port, &QSerialPort::bytesWritten, &loop,
                     [this, &port] { countUnsent(port); });
    QObject::connect(&port, &QSerialPort::errorOccurred, &loop,
                     [this, &port](QSerialPort::SerialPortError error) {
                         if (error != QSerialPort::ReadError && error != QSerialPort::WriteError &&
                             error != QSerialPort::ResourceError) {
                             return;
                         }
                         if (deviceGone(port)) {
                             loseLine(port, "serial line lost");
                             return;
                         }
                         // Only busy: the port keeps what it holds and tries
                         // again. A resource error also stopped its reading;
                         // setting the buffer size starts that again.
                         port.clearError();
                         port.setReadBufferSize(port.readBufferSize());
                     });
    // Bytes that came while the port was being set up are read at once.
    ReadComm(port);
    if (connected_.load(std::memory_order_acquire)) loop.exec();
    // Closing may still report errors and written counts: nobody listens now.
    QObject::disconnect(&port, nullptr, &loop, nullptr);
    finishWrite(false);
}

// What was written still goes out (the last byte is often the verdict the far
// end waits for); only unread input is thrown away. A line that stopped has
// nothing more to give.
void CCommPort::closeDevice(QSerialPort& port) {
    handOver(port);
    if (!port.isOpen()) return;
    if (!line_stopped_.load(std::memory_order_acquire)) {
        const auto deadline = std::chrono::steady_clock::now() +
                              lineTimeBound(static_cast<std::size_t>(port.bytesToWrite()), line_);
        while (port.bytesToWrite() > 0 && std::chrono::steady_clock::now() < deadline) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (!port.waitForBytesWritten(static_cast<int>(std::max<long long>(1, left.count())))) {
                break;
            }
        }
        if (port.bytesToWrite() > 0 ||
            !drainOutput([&port] { return unsentBytes(port); },
                         lineTimeBound(static_cast<std::size_t>(unsentBytes(port)), line_))) {
            diagnose("serial port closed before everything was sent: " + port_name_);
        }
    }
    port.clear(line_stopped_.load(std::memory_order_acquire) ? QSerialPort::AllDirections
                                                             : QSerialPort::Input);
    port.close();
}

}  // namespace zoedit::link

#include "comm_port.moc"
