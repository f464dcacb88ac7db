// The command that opens the port with the current settings, or closes it
// when it is open, and says so in the status bar.
#pragma once

#include <string>

#include "link/link_port.h"
#include "link/port_settings.h"

namespace zoedit::link {

inline constexpr char kMsgPortSetupFirst[] = "Please set up the port first.";
inline constexpr char kMsgPortInitFailed[] = "Failed initializing port.";

class PortCommandUi {
public:
    virtual ~PortCommandUi() = default;
    virtual void setStatusText(const std::string& text) = 0;
    virtual void showMessage(const std::string& text) = 0;  // an OK box
};

// "Failed initializing port." and, on a second line, the port's name and why
// it could not be opened.
std::string portFailureText(const std::string& port_name, const std::string& reason);

// The name the port is opened by: "COM%d" of the port number whatever the
// case of the stored text, or the stored text itself when it is a device
// path; empty when there is nothing to open.
std::string portNameToOpen(const PortState& state);

// The parameters OpenPort gets from the current settings.
PortParams portParamsFor(const PortState& state);

// Toggles the port. Texts: "Port COM1 is closed.", "Please set up the port
// first.", "Initialization of Port COM1 is successful.", "Failed initializing
// port." (also in a box, whose second line names the port and the reason). A
// device path stands where COMn would.
void runPortCommand(PortState& state, LinkPort& port, PortCommandUi& ui);

}  // namespace zoedit::link
