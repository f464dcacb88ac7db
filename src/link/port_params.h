// What the port is opened with, and how those texts become line settings.
// The mapping is pure so that every rule is checked without a device.
#pragma once

#include <cstdint>
#include <string>

namespace zoedit::link {

// The argument of CCommPort::OpenPort, built by the port command from the
// stored settings texts.
struct PortParams {
    std::string port_name;  // "COM1".."COM4", or a device path such as /dev/ttyUSB0
    std::uint32_t baud_rate = 0;
    std::uint16_t port_id = 0;
    std::string data_bits;          // its decimal value counts
    std::string parity;             // only the first character counts
    std::string stop_bits;          // "1", "1.5" or "2"
    std::int32_t flow_control = 0;  // 0 "None", 1 "Xon/Xoff", 2 "RTS", 3 "Xon/RTS"
};

enum class Parity { None = 0, Odd = 1, Even = 2, Mark = 3, Space = 4 };
enum class StopBits { One = 0, OneAndHalf = 1, Two = 2 };
enum class DtrControl { Disable = 0, Enable = 1, Handshake = 2 };
enum class RtsControl { Disable = 0, Enable = 1, Handshake = 2, Toggle = 3 };

// The device's control block: framing plus every flow and line-control field
// the flow-control choice touches. Defaults are those of a port just opened.
struct LineSettings {
    std::uint32_t baud_rate = 9600;
    int data_bits = 8;
    Parity parity = Parity::None;
    StopBits stop_bits = StopBits::One;

    bool binary = true;
    bool parity_check = false;
    bool outx_cts_flow = false;
    bool outx_dsr_flow = false;
    DtrControl dtr_control = DtrControl::Enable;
    bool dsr_sensitivity = false;
    bool tx_continue_on_xoff = false;
    bool out_x = false;
    bool in_x = false;
    bool error_char_replace = false;
    bool null_strip = false;
    RtsControl rts_control = RtsControl::Enable;
    bool abort_on_error = false;

    std::uint16_t xon_lim = 0;
    std::uint16_t xoff_lim = 0;
    std::uint8_t xon_char = 0x11;
    std::uint8_t xoff_char = 0x13;
    std::uint8_t error_char = 0;
    std::uint8_t eof_char = 0x1A;
    std::uint8_t evt_char = 0;

    bool operator==(const LineSettings&) const = default;
};

// Decimal value of a text the way the settings read numbers: optional blanks,
// optional sign, then digits; no digits gives 0. Values past the range of a
// 32-bit integer give 0 as well, so that a device refuses them.
std::int64_t leadingDecimal(const std::string& text);

// The port's current settings changed by `params`: baud rate, data bits,
// parity by its first letter (E, O, N, M, S; anything else keeps the current
// parity), stop bits by the text's length and value, and the flow-control
// choice (0 replaces the whole flag word; 1 and 3 turn on Xon/Xoff; 2 turns
// it off; the other flags stay; other indexes change nothing).
LineSettings applyPortParams(const LineSettings& current, const PortParams& params);

// How a device without a control block realises the flags.
enum class FlowControl { None, Software, Hardware };
FlowControl flowControlOf(const LineSettings& settings);

// The device that a port name opens: "COMn" (any case) is /dev/ttyS(n-1), a
// text starting with '/' is that device, anything else opens nothing ("").
std::string devicePathForPortName(const std::string& port_name);

}  // namespace zoedit::link
