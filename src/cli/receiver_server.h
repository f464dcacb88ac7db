// Runs the receiver emulator on an open line until it is told to stop or the
// far side goes away.
#pragma once

#include <chrono>
#include <ostream>

#include "link/receiver_emulator.h"

namespace zoedit::cli {

struct ServeOptions {
    unsigned baud = 0;    // pace output at this line rate (10 bits a byte); 0: unpaced
    int held_slave = -1;  // our own copy of a pty's slave side, dropped once the far side speaks
    std::chrono::milliseconds announce_every{500};
};

// SIGINT and SIGTERM make serveReceiver return 0 at its next turn; SIGUSR1
// makes it give up the transfer under way, as if the PC had gone quiet.
void installStopSignals();

// 0 when stopped by a signal or when the far side closed the line; 1 on an
// error of the line. Progress goes to `log`.
int serveReceiver(int fd, link::ReceiverOptions options, const ServeOptions& serve,
                  std::ostream& log);

}  // namespace zoedit::cli
