#include "database/codepage.h"

#include <array>
#include <cstdint>
#include <unordered_map>

namespace zoedit {
namespace {

constexpr char16_t kUndef = 0;  // marks a byte the code page does not define

// Upper halves (bytes 0x80..0xFF); the lower half is ASCII in every page.
constexpr std::array<char16_t, 128> kWindows1256 = {
    0x20AC, 0x067E, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x02C6, 0x2030, 0x0679, 0x2039, 0x0152, 0x0686, 0x0698, 0x0688,  // 88
    0x06AF, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x06A9, 0x2122, 0x0691, 0x203A, 0x0153, 0x200C, 0x200D, 0x06BA,  // 98
    0x00A0, 0x060C, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6, 0x00A7,  // A0
    0x00A8, 0x00A9, 0x06BE, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF,  // A8
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x00B8, 0x00B9, 0x061B, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x061F,  // B8
    0x06C1, 0x0621, 0x0622, 0x0623, 0x0624, 0x0625, 0x0626, 0x0627,  // C0
    0x0628, 0x0629, 0x062A, 0x062B, 0x062C, 0x062D, 0x062E, 0x062F,  // C8
    0x0630, 0x0631, 0x0632, 0x0633, 0x0634, 0x0635, 0x0636, 0x00D7,  // D0
    0x0637, 0x0638, 0x0639, 0x063A, 0x0640, 0x0641, 0x0642, 0x0643,  // D8
    0x00E0, 0x0644, 0x00E2, 0x0645, 0x0646, 0x0647, 0x0648, 0x00E7,  // E0
    0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x0649, 0x064A, 0x00EE, 0x00EF,  // E8
    0x064B, 0x064C, 0x064D, 0x064E, 0x00F4, 0x064F, 0x0650, 0x00F7,  // F0
    0x0651, 0x00F9, 0x0652, 0x00FB, 0x00FC, 0x200E, 0x200F, 0x06D2,  // F8
};

// Windows-1252 differs from Latin-1 only in 0x80..0x9F.
constexpr std::array<char16_t, 32> kWindows1252Low = {
    0x20AC, kUndef, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, kUndef, 0x017D, kUndef,  // 88
    kUndef, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, kUndef, 0x017E, 0x0178,  // 98
};

}  // namespace

char32_t codePoint(unsigned char byte, CodePage page) {
    if (byte < 0x80) return byte;
    char16_t c = byte;
    switch (page) {
        case CodePage::Windows1256:
            c = kWindows1256[byte - 0x80];
            break;
        case CodePage::Windows1252:
            if (byte < 0xA0) c = kWindows1252Low[byte - 0x80];
            break;
        case CodePage::Latin1:
            break;
    }
    return c == kUndef ? kUndefinedByteBase + byte : c;
}

namespace {

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes one UTF-8 sequence at `i`, advancing it. Returns nothing for a
// malformed, overlong or surrogate sequence, after skipping one byte.
bool decodeUtf8(std::string_view s, std::size_t& i, char32_t& out) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    int extra = 0;
    char32_t c = 0;
    char32_t min = 0;
    if (b0 < 0x80) {
        out = b0;
        ++i;
        return true;
    } else if ((b0 & 0xE0) == 0xC0) {
        extra = 1, c = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2, c = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3, c = b0 & 0x07, min = 0x10000;
    } else {
        ++i;
        return false;
    }
    if (i + extra >= s.size()) {
        ++i;
        return false;
    }
    for (int k = 1; k <= extra; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return false;
        }
        c = (c << 6) | (b & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++i;
        return false;
    }
    i += extra + 1;
    out = c;
    return true;
}

using ReverseTable = std::unordered_map<char32_t, unsigned char>;

const ReverseTable& reverseTable(CodePage page) {
    static const auto build = [](CodePage p) {
        ReverseTable table;
        for (int b = 0x80; b < 0x100; ++b)
            table.emplace(codePoint(static_cast<unsigned char>(b), p),
                          static_cast<unsigned char>(b));
        return table;
    };
    static const ReverseTable w1256 = build(CodePage::Windows1256);
    static const ReverseTable w1252 = build(CodePage::Windows1252);
    static const ReverseTable latin1 = build(CodePage::Latin1);
    switch (page) {
        case CodePage::Windows1256:
            return w1256;
        case CodePage::Windows1252:
            return w1252;
        case CodePage::Latin1:
            break;
    }
    return latin1;
}

}  // namespace

std::string toUtf8(std::string_view bytes, CodePage page) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char b : bytes) appendUtf8(out, codePoint(static_cast<unsigned char>(b), page));
    return out;
}

std::string fromUtf8(std::string_view utf8, CodePage page, bool* lossless) {
    const ReverseTable& table = reverseTable(page);
    std::string out;
    out.reserve(utf8.size());
    bool exact = true;
    std::size_t i = 0;
    while (i < utf8.size()) {
        char32_t c = 0;
        if (!decodeUtf8(utf8, i, c)) {
            out += '?';
            exact = false;
            continue;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        const auto it = table.find(c);
        if (it != table.end()) {
            out += static_cast<char>(it->second);
        } else {
            out += '?';
            exact = false;
        }
    }
    if (lossless) *lossless = exact;
    return out;
}

}  // namespace zoedit
