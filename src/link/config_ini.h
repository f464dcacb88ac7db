// config.ini: the seven link settings, one value a line, no keys, in the
// program's current directory. Read by tokens, so the layout of old files
// (and hand-edited ones) keeps working; written whole.
#pragma once

#include <string>
#include <string_view>

namespace zoedit::link {

inline constexpr char kConfigFileName[] = "config.ini";

// Longer tokens are not settings anyone typed; they fall back to the default.
inline constexpr std::size_t kMaxConfigToken = 63;

struct LinkSettings {
    std::string data_bits = "8";
    int off_on = 0;        // 0 "Off", 1 "On": shown and stored, nothing else
    int flow_control = 0;  // 0 "None", 1 "Xon/Xoff", 2 "RTS", 3 "Xon/RTS"
    std::string parity = "None";
    std::string port = "Com1";
    std::string speed = "115200";
    std::string stop_bits = "1";

    bool operator==(const LinkSettings&) const = default;
};

struct ConfigStatus {
    bool ok = true;
    std::string message;  // why it failed, naming the file
};

// Values in file order; a value that is missing, too long or not of its kind
// (an integer out of its range included) takes its default, and the values
// after it keep their own places.
LinkSettings parseConfigIni(std::string_view text);
std::string formatConfigIni(const LinkSettings& settings);

// Whether a text reads back from config.ini as itself: one token, not empty,
// no blank in it, not too long.
bool isStorableText(std::string_view text);

// A text that could not be read back as the same single token (empty, or
// with a blank in it, or too long) would shift every later value: say which.
ConfigStatus checkStorable(const LinkSettings& settings);

struct ConfigLoad {
    LinkSettings settings;
    bool created = false;  // the file was missing and now holds the defaults
    ConfigStatus status;   // not ok: defaults are used, and this says why
};

// A missing file is created with the defaults.
ConfigLoad loadConfigIni(const std::string& path);

// Rewrites the file whole through the atomic writer: a failed write keeps
// the old file.
ConfigStatus saveConfigIni(const std::string& path, const LinkSettings& settings);

}  // namespace zoedit::link
