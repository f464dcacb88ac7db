#include "link/port_params.h"

#include <cctype>
#include <limits>

namespace zoedit::link {

std::int64_t leadingDecimal(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::int64_t value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > std::numeric_limits<std::int32_t>::max()) return 0;
    }
    return negative ? -value : value;
}

namespace {

void applyFlowControl(LineSettings& s, std::int32_t index) {
    switch (index) {
        case 0:
            // The whole flag word is replaced, not merged.
            s.binary = true;
            s.parity_check = false;
            s.outx_cts_flow = false;
            s.outx_dsr_flow = false;
            s.dtr_control = DtrControl::Enable;
            s.dsr_sensitivity = false;
            s.tx_continue_on_xoff = false;
            s.out_x = false;
            s.in_x = false;
            s.error_char_replace = false;
            s.null_strip = false;
            s.rts_control = RtsControl::Enable;
            s.abort_on_error = false;
            s.xon_lim = 100;
            s.xoff_lim = 100;
            s.xon_char = 0x11;
            s.xoff_char = 0x13;
            s.error_char = 0;
            s.eof_char = 0x1A;
            s.evt_char = 0;
            break;
        case 1:
        case 3:
            s.out_x = true;
            s.in_x = true;
            s.rts_control = RtsControl::Enable;
            s.xon_char = 0x11;
            s.xoff_char = 0x13;
            s.xon_lim = 100;
            s.xoff_lim = 100;
            break;
        case 2:
            s.out_x = false;
            s.in_x = false;
            s.rts_control = RtsControl::Enable;
            break;
        default:
            break;
    }
}

}  // namespace

LineSettings applyPortParams(const LineSettings& current, const PortParams& params) {
    LineSettings s = current;
    s.baud_rate = params.baud_rate;
    s.data_bits = static_cast<int>(leadingDecimal(params.data_bits));
    switch (params.parity.empty() ? '\0' : params.parity[0]) {
        case 'E':
            s.parity = Parity::Even;
            break;
        case 'O':
            s.parity = Parity::Odd;
            break;
        case 'N':
            s.parity = Parity::None;
            break;
        case 'M':
            s.parity = Parity::Mark;
            break;
        case 'S':
            s.parity = Parity::Space;
            break;
        default:
            break;
    }
    if (params.stop_bits.size() == 1) {
        s.stop_bits = params.stop_bits == "1" ? StopBits::One : StopBits::Two;
    } else {
        s.stop_bits = StopBits::OneAndHalf;
    }
    applyFlowControl(s, params.flow_control);
    return s;
}

FlowControl flowControlOf(const LineSettings& s) {
    if (s.outx_cts_flow || s.rts_control == RtsControl::Handshake) return FlowControl::Hardware;
    if (s.out_x || s.in_x) return FlowControl::Software;
    return FlowControl::None;
}

std::string devicePathForPortName(const std::string& port_name) {
    if (!port_name.empty() && port_name[0] == '/') return port_name;
    if (port_name.size() < 4) return {};
    for (std::size_t i = 0; i < 3; ++i) {
        if (std::toupper(static_cast<unsigned char>(port_name[i])) != "COM"[i]) return {};
    }
    const std::string digits = port_name.substr(3);
    std::int64_t number = 0;
    for (char c : digits) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return {};
        number = number * 10 + (c - '0');
        if (number > 255) return {};
    }
    if (number < 1) return {};
    return "/dev/ttyS" + std::to_string(number - 1);
}

}  // namespace zoedit::link
