#include "link/port_settings.h"

#include "link/port_params.h"

namespace zoedit::link {

int portNumberFrom(const std::string& port_text, int previous) {
    if (port_text.size() < 4) return previous;
    const char c = port_text[3];
    return c >= '1' && c <= '4' ? c - '0' : previous;
}

std::uint32_t baudRateFrom(const std::string& speed_text) {
    const std::int64_t value = leadingDecimal(speed_text);
    return value > 0 ? static_cast<std::uint32_t>(value) : 0;
}

void takeSettings(PortState& state, const LinkSettings& settings) {
    state.settings = settings;
    state.m_nPortNumber = portNumberFrom(settings.port, state.m_nPortNumber);
    state.m_nBaudRate = baudRateFrom(settings.speed);
}

ConfigLoad loadPortState(PortState& state, const std::string& config_path) {
    ConfigLoad load = loadConfigIni(config_path);
    takeSettings(state, load.settings);
    return load;
}

ConfigStatus acceptSettings(PortState& state, const LinkSettings& chosen,
                            const std::string& config_path) {
    takeSettings(state, chosen);
    return saveConfigIni(config_path, chosen);
}

}  // namespace zoedit::link
