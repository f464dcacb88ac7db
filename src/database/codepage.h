// Names in the channel file are bytes in the receiver's single-byte code page.
// These conversions turn them into UTF-8 for display and export and back.
#pragma once

#include <string>
#include <string_view>

namespace zoedit {

enum class CodePage { Windows1256, Windows1252, Latin1 };

// Bytes a code page leaves undefined become private-use characters
// U+F700 + byte, which fromUtf8 turns back into the same byte: converting to
// UTF-8 and back never loses or changes a byte.
inline constexpr char32_t kUndefinedByteBase = 0xF700;

// Every byte maps to one character; NUL bytes are kept.
std::string toUtf8(std::string_view bytes, CodePage page);

// Characters the code page cannot hold become '?', and so do malformed UTF-8
// sequences; `lossless` (when given) tells whether that happened.
std::string fromUtf8(std::string_view utf8, CodePage page, bool* lossless = nullptr);

// The character a byte stands for in a code page.
char32_t codePoint(unsigned char byte, CodePage page);

}  // namespace zoedit
