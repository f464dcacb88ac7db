#include "ui/platform.h"

namespace zoedit::ui {

std::string Latin1Codec::decode(std::string_view bytes) const {
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out.push_back(c);
        } else {
            out.push_back(static_cast<char>(0xC0 | (b >> 6)));
            out.push_back(static_cast<char>(0x80 | (b & 0x3F)));
        }
    }
    return out;
}

// Code points past U+00FF have no byte: they become '?', as a code page
// conversion does for characters it cannot map.
std::string Latin1Codec::encode(std::string_view utf8) const {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            out.push_back(static_cast<char>(b));
            ++i;
            continue;
        }
        std::size_t length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        if (length == 2 && i + 1 < utf8.size()) {
            const unsigned cp =
                ((b & 0x1F) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F);
            out.push_back(cp <= 0xFF ? static_cast<char>(cp) : '?');
        } else {
            out.push_back('?');
        }
        i += length;
    }
    return out;
}

}  // namespace zoedit::ui
