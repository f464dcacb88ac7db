#include "cli/posix_line.h"

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace zoedit::cli {

namespace {
speed_t speedFor(unsigned baud) {
    switch (baud) {
        case 1200:
            return B1200;
        case 2400:
            return B2400;
        case 4800:
            return B4800;
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        case 230400:
            return B230400;
        default:
            return B0;
    }
}
}  // namespace

bool setRawMode(int fd, unsigned baud) {
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) return false;
    cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cflag &= ~(CSTOPB | PARENB | CRTSCTS);
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (const speed_t speed = speedFor(baud); speed != B0) cfsetspeed(&tio, speed);
    return tcsetattr(fd, TCSANOW, &tio) == 0;
}

OpenedLine openLineDevice(const std::string& path, unsigned baud) {
    OpenedLine line;
    line.fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (line.fd < 0) {
        line.error = "cannot open " + path + ": " + std::strerror(errno);
        return line;
    }
    // Not every line is a terminal (a FIFO in a test, say): then it stays as it is.
    setRawMode(line.fd, baud);
    return line;
}

PtyPair openRawPty() {
    PtyPair pty;
    char name[256] = {};
    if (openpty(&pty.master, &pty.slave, name, nullptr, nullptr) != 0) {
        pty.error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        return pty;
    }
    fcntl(pty.master, F_SETFD, FD_CLOEXEC);
    fcntl(pty.slave, F_SETFD, FD_CLOEXEC);
    setRawMode(pty.slave);
    pty.slave_path = name;
    return pty;
}

}  // namespace zoedit::cli
