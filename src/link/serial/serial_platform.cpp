#include "link/serial/serial_platform.h"

#include <QSerialPort>
#include <QtGlobal>
#include <thread>

#if defined(Q_OS_WIN)
#include <windows.h>
#elif defined(Q_OS_UNIX)
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#else
#error "No output drain for this platform"
#endif

namespace zoedit::link {

long unsentBytes(QSerialPort& port) {
#if defined(Q_OS_WIN)
    COMSTAT status{};
    DWORD errors = 0;
    if (!::ClearCommError(reinterpret_cast<HANDLE>(port.handle()), &errors, &status)) return 0;
    return static_cast<long>(status.cbOutQue);
#else
    int queued = 0;
    if (::ioctl(static_cast<int>(port.handle()), TIOCOUTQ, &queued) != 0) return 0;
    return queued;
#endif
}

bool drainOutput(const std::function<long()>& unsent, std::chrono::milliseconds bound) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    // Polled rather than a blocking drain call, which has no time limit.
    while (unsent() > 0) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

bool deviceGone(QSerialPort& port) {
#if defined(Q_OS_WIN)
    (void)port;
    return true;  // overlapped reads and writes do not fail for a busy driver
#else
    // Asked of the device itself: the port reports a driver that is full
    // and a device that is gone as the same resource error.
    pollfd device{static_cast<int>(port.handle()), POLLIN | POLLOUT, 0};
    if (::poll(&device, 1, 0) < 0) return false;
    return (device.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
#endif
}

}  // namespace zoedit::link
