#include "database/codepage.h"

#include <gtest/gtest.h>

#include <string>

namespace zoedit {
namespace {

std::string allBytes() {
    std::string s;
    for (int b = 0; b < 256; ++b) s += static_cast<char>(b);
    return s;
}

TEST(CodePage, EveryByteOfEveryPageSurvivesTheRoundTrip) {
    for (auto page : {CodePage::Windows1256, CodePage::Windows1252, CodePage::Latin1}) {
        bool lossless = false;
        const std::string utf8 = toUtf8(allBytes(), page);
        EXPECT_EQ(fromUtf8(utf8, page, &lossless), allBytes());
        EXPECT_TRUE(lossless);
    }
}

TEST(CodePage, ArabicLettersAndPunctuation) {
    // "قناة" (channel) in Windows-1256 bytes.
    EXPECT_EQ(toUtf8("\xDE\xE4\xC7\xC9", CodePage::Windows1256), "قناة");
    EXPECT_EQ(fromUtf8("قناة", CodePage::Windows1256), "\xDE\xE4\xC7\xC9");
    EXPECT_EQ(codePoint(0xA1, CodePage::Windows1256), U'\u060C');  // Arabic comma
    EXPECT_EQ(codePoint(0xFF, CodePage::Windows1256), U'\u06D2');
    EXPECT_EQ(codePoint(0x80, CodePage::Windows1256), U'\u20AC');
    EXPECT_EQ(codePoint(0xE0, CodePage::Windows1256), U'\u00E0');  // French letters kept
    EXPECT_EQ(toUtf8("News 24", CodePage::Windows1256), "News 24");
}

TEST(CodePage, UndefinedBytesUsePrivateCharactersOnlyWhereUndefined) {
    for (unsigned char b : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(codePoint(b, CodePage::Windows1252), kUndefinedByteBase + b);
    EXPECT_EQ(codePoint(0x80, CodePage::Windows1252), U'\u20AC');
    EXPECT_EQ(codePoint(0x81, CodePage::Latin1), U'\u0081');
    EXPECT_EQ(codePoint(0xE9, CodePage::Windows1252), U'\u00E9');
    for (int b = 0x80; b < 0x100; ++b)
        EXPECT_LT(codePoint(static_cast<unsigned char>(b), CodePage::Windows1256),
                  kUndefinedByteBase)
            << b;
}

TEST(CodePage, UnmappableAndMalformedInputIsMarkedLossy) {
    bool lossless = true;
    EXPECT_EQ(fromUtf8("a€b", CodePage::Latin1, &lossless), "a?b");
    EXPECT_FALSE(lossless);
    EXPECT_EQ(fromUtf8("ق", CodePage::Windows1252, &lossless), "?");
    EXPECT_FALSE(lossless);
    // Another page's private character is not a byte of this page.
    EXPECT_EQ(fromUtf8(toUtf8("\x81", CodePage::Windows1252), CodePage::Windows1256, &lossless),
              "?");
    EXPECT_FALSE(lossless);
    // Truncated, stray continuation, overlong and surrogate sequences.
    EXPECT_EQ(fromUtf8("x\xD9", CodePage::Windows1256, &lossless), "x?");
    EXPECT_FALSE(lossless);
    EXPECT_EQ(fromUtf8("\x80y", CodePage::Windows1256, &lossless), "?y");
    EXPECT_EQ(fromUtf8("\xC0\xAF", CodePage::Windows1256, &lossless), "??");
    EXPECT_EQ(fromUtf8("\xED\xA0\x80", CodePage::Windows1256, &lossless), "???");
    EXPECT_EQ(fromUtf8("", CodePage::Windows1256, &lossless), "");
    EXPECT_TRUE(lossless);
}

}  // namespace
}  // namespace zoedit
