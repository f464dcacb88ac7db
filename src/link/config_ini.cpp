#include "link/config_ini.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "database/atomic_file.h"

namespace zoedit::link {

namespace {

bool isBlank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

std::vector<std::string_view> tokens(std::string_view text) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isBlank(text[i])) ++i;
        const std::size_t start = i;
        while (i < text.size() && !isBlank(text[i])) ++i;
        if (i > start) out.push_back(text.substr(start, i - start));
    }
    return out;
}

void takeText(const std::vector<std::string_view>& toks, std::size_t i, std::string& value) {
    if (i < toks.size() && toks[i].size() <= kMaxConfigToken) value = std::string(toks[i]);
}

void takeInt(const std::vector<std::string_view>& toks, std::size_t i, int low, int high,
             int& value) {
    if (i >= toks.size()) return;
    std::string_view t = toks[i];
    bool negative = false;
    if (!t.empty() && (t[0] == '+' || t[0] == '-')) {
        negative = t[0] == '-';
        t.remove_prefix(1);
    }
    if (t.empty() || t.size() > 9) return;
    int parsed = 0;
    for (char c : t) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return;
        parsed = parsed * 10 + (c - '0');
    }
    if (negative) parsed = -parsed;
    if (parsed >= low && parsed <= high) value = parsed;
}

}  // namespace

LinkSettings parseConfigIni(std::string_view text) {
    const auto toks = tokens(text);
    LinkSettings s;
    takeText(toks, 0, s.data_bits);
    takeInt(toks, 1, 0, 1, s.off_on);
    takeInt(toks, 2, 0, 3, s.flow_control);
    takeText(toks, 3, s.parity);
    takeText(toks, 4, s.port);
    takeText(toks, 5, s.speed);
    takeText(toks, 6, s.stop_bits);
    return s;
}

std::string formatConfigIni(const LinkSettings& s) {
    std::ostringstream out;
    out << s.data_bits << '\n'
        << s.off_on << '\n'
        << s.flow_control << '\n'
        << s.parity << '\n'
        << s.port << '\n'
        << s.speed << '\n'
        << s.stop_bits << '\n';
    return out.str();
}

bool isStorableText(std::string_view text) {
    if (text.empty() || text.size() > kMaxConfigToken) return false;
    for (char c : text)
        if (isBlank(c)) return false;
    return true;
}

ConfigStatus checkStorable(const LinkSettings& s) {
    const std::pair<const char*, const std::string*> texts[] = {
        {"data bits", &s.data_bits}, {"parity", &s.parity},       {"port", &s.port},
        {"speed", &s.speed},         {"stop bits", &s.stop_bits},
    };
    for (const auto& [name, value] : texts) {
        if (!isStorableText(*value)) {
            return {false, std::string("The ") + name + " setting \"" + *value +
                               "\" cannot be stored in config.ini: it must be one word."};
        }
    }
    return {};
}

ConfigLoad loadConfigIni(const std::string& path) {
    ConfigLoad load;
    std::error_code ec;
    if (!std::filesystem::exists(path, ec) && !ec) {
        load.status = saveConfigIni(path, load.settings);
        load.created = load.status.ok;
        return load;
    }
    std::ifstream in(path, std::ios::binary);
    if (in) {
        std::ostringstream text;
        text << in.rdbuf();
        if (in.bad()) {
            load.status = {false, "Cannot read " + path + "; the default settings are used."};
            return load;
        }
        load.settings = parseConfigIni(text.str());
        return load;
    }
    load.status = {false, "Cannot read " + path + "; the default settings are used."};
    return load;
}

ConfigStatus saveConfigIni(const std::string& path, const LinkSettings& settings) {
    if (ConfigStatus storable = checkStorable(settings); !storable.ok) return storable;
    const std::string text = formatConfigIni(settings);
    const SaveResult saved = writeFileAtomically(
        path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    if (!saved.ok) return {false, saved.message};
    return {};
}

}  // namespace zoedit::link
