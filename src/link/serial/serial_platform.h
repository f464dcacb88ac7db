// The one place that reaches below the serial port's API, for each platform.
//
// Waiting until the driver has put every written byte on the line: the serial
// port's own flush only hands bytes to the driver, and closing right after
// would lose what is still queued there (on a real line at 115,200 baud, a
// verdict byte written a moment before).
//
// Telling a driver that is only full for a moment from a device that is gone:
// the serial port reports both as a resource error.
#pragma once

#include <chrono>
#include <functional>

class QSerialPort;

namespace zoedit::link {

// Bytes the driver holds that have not gone out yet; 0 when it cannot tell.
long unsentBytes(QSerialPort& port);

// Waits until `unsent` (unsentBytes of the port) reads 0 or `bound` has
// passed; true when drained.
bool drainOutput(const std::function<long()>& unsent, std::chrono::milliseconds bound);

// After the port reported a failed read or write: true when the device is
// gone (the far end hung up, the adapter was pulled), false when the driver
// was only full or empty for a moment (a pseudo-terminal can say it has room
// and then take nothing). The port keeps its bytes and tries again.
bool deviceGone(QSerialPort& port);

}  // namespace zoedit::link
