// Serial devices and pseudo-terminals on plain POSIX, for the command line's
// receiver emulator and its tests.
#pragma once

#include <optional>
#include <string>

namespace zoedit::cli {

// Raw 8N1 mode, no flow control, reads return what is there. `baud` sets the
// line speed when it is a rate the system knows (0: leave it).
bool setRawMode(int fd, unsigned baud = 0);

struct OpenedLine {
    int fd = -1;
    std::string error;  // empty on success
};

// Opens a device for reading and writing, without making it our terminal.
OpenedLine openLineDevice(const std::string& path, unsigned baud);

struct PtyPair {
    int master = -1;
    int slave = -1;
    std::string slave_path;
    std::string error;
};

// A pseudo-terminal pair whose slave side is in raw mode.
PtyPair openRawPty();

}  // namespace zoedit::cli
