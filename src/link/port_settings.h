// The link settings as the main view holds them for the whole run, with the
// numbers derived from their texts.
#pragma once

#include <cstdint>
#include <string>

#include "link/config_ini.h"

namespace zoedit::link {

struct PortState {
    LinkSettings settings;
    int m_nPortNumber = 0;          // 1..4, 0 until a port text names one
    std::uint32_t m_nBaudRate = 0;  // decimal value of the speed text
    bool m_bPortOpen = false;
    std::string open_port_name;  // what the status texts call the open port
};

// 1..4 when the fourth character of `port_text` is '1'..'4', else `previous`.
int portNumberFrom(const std::string& port_text, int previous);

// Decimal value of the speed text; no digits, a negative value or one past
// 32 bits gives 0, which no device takes.
std::uint32_t baudRateFrom(const std::string& speed_text);

// The settings become the current ones; the derived numbers follow them.
void takeSettings(PortState& state, const LinkSettings& settings);

// At start: config.ini read (or created with the defaults) and derived.
ConfigLoad loadPortState(PortState& state, const std::string& config_path);

// The settings dialog ended with its save button: take the values, rewrite
// config.ini, derive. The settings are taken even when the file cannot be
// written; the returned status says so. An open port keeps running with the
// settings it was opened with.
ConfigStatus acceptSettings(PortState& state, const LinkSettings& chosen,
                            const std::string& config_path);

}  // namespace zoedit::link
