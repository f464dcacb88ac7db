// Line settings to and from a Qt serial port.
#pragma once

#include <string>

#include "link/port_params.h"

class QSerialPort;

namespace zoedit::link {

// What the open port holds now, in control-block terms.
LineSettings currentLineSettings(const QSerialPort& port);

// False, with the reason, when the device refuses any part of the framing or
// the flow control. The modem lines are asked for but a refusal is harmless:
// pseudo-terminals have none.
bool applyLineSettings(QSerialPort& port, const LineSettings& settings, std::string& error);

// Opens `device` exclusively, purges it and applies `params` over its current
// settings. On failure the port is closed again and `error` says why.
bool openConfigured(QSerialPort& port, const std::string& device, const PortParams& params,
                    std::string& error);

}  // namespace zoedit::link
