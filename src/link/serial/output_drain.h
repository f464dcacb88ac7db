// Waiting until the driver has put every written byte on the line. The serial
// port's own flush only hands bytes to the driver; closing right after would
// lose what is still queued there (on a real line at 115,200 baud, a verdict
// byte written a moment before). This is the one place that reaches below the
// serial port's API, for each platform.
#pragma once

#include <chrono>

class QSerialPort;

namespace zoedit::link {

// Bytes the driver holds that have not gone out yet; 0 when it cannot tell.
long unsentBytes(QSerialPort& port);

// Waits until nothing is left to send or `bound` has passed; true when drained.
bool drainOutput(QSerialPort& port, std::chrono::milliseconds bound);

}  // namespace zoedit::link
