#include "link/port_command.h"

namespace zoedit::link {

namespace {
bool isDevicePath(const std::string& text) {
    return !text.empty() && text[0] == '/';
}
}  // namespace

std::string portFailureText(const std::string& port_name, const std::string& reason) {
    return std::string(kMsgPortInitFailed) + "\n" + port_name + ": " +
           (reason.empty() ? std::string("it could not be opened.") : reason);
}

std::string portNameToOpen(const PortState& state) {
    if (isDevicePath(state.settings.port)) return state.settings.port;
    if (state.m_nPortNumber == 0) return {};
    return "COM" + std::to_string(state.m_nPortNumber);
}

PortParams portParamsFor(const PortState& state) {
    PortParams p;
    p.port_name = portNameToOpen(state);
    p.baud_rate = state.m_nBaudRate;
    p.port_id = static_cast<std::uint16_t>(state.m_nPortNumber);
    p.data_bits = state.settings.data_bits;
    p.parity = state.settings.parity;
    p.stop_bits = state.settings.stop_bits;
    p.flow_control = state.settings.flow_control;
    return p;
}

void runPortCommand(PortState& state, LinkPort& port, PortCommandUi& ui) {
    if (state.m_bPortOpen) {
        port.ClosePort();
        state.m_bPortOpen = false;
        // The port that was opened, even if the settings changed since.
        ui.setStatusText("Port " + state.open_port_name + " is closed.");
        state.open_port_name.clear();
        return;
    }
    const PortParams params = portParamsFor(state);
    if (params.port_name.empty()) {
        ui.setStatusText(kMsgPortSetupFirst);
        state.m_bPortOpen = false;
        return;
    }
    if (port.OpenPort(params)) {
        state.m_bPortOpen = true;
        state.open_port_name = params.port_name;
        ui.setStatusText("Initialization of Port " + params.port_name + " is successful.");
        return;
    }
    state.m_bPortOpen = false;
    // The status pane is one line; the box has room for the reason.
    ui.setStatusText(kMsgPortInitFailed);
    ui.showMessage(portFailureText(params.port_name, port.lastError()));
}

}  // namespace zoedit::link
