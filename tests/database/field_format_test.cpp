#include "database/field_format.h"

#include <gtest/gtest.h>

namespace zoedit {
namespace {

TEST(PositionText, EastWestBoundaryAndExtremes) {
    EXPECT_EQ(positionText(0), "000.0E");
    EXPECT_EQ(positionText(192), "019.2E");
    EXPECT_EQ(positionText(1799), "179.9E");
    EXPECT_EQ(positionText(1800), "180.0W");
    EXPECT_EQ(positionText(3300), "030.0W");
    EXPECT_EQ(positionText(3530), "007.0W");
    EXPECT_EQ(positionText(3599), "000.1W");
}

TEST(PositionText, EveryStoredValueSurvivesDisplayAndReadBack) {
    for (int p = 0; p <= 3599; ++p) {
        const auto value = static_cast<std::uint16_t>(p);
        ASSERT_EQ(readPositionText(positionText(value)), value) << positionText(value);
    }
}

TEST(PositionText, ReadBackFollowsAtofThenLooksForW) {
    EXPECT_EQ(readPositionText("  19.2E"), 192);
    EXPECT_EQ(readPositionText("19.2"), 192);  // no letter: east
    EXPECT_EQ(readPositionText("+7W"), 3530);
    EXPECT_EQ(readPositionText("30.0 W"), 300);  // the letter must follow the number
    EXPECT_EQ(readPositionText("30.0w"), 300);   // only a capital W means west
    EXPECT_EQ(readPositionText("1.5e1E"), 150);  // exponent taken as atof takes it
    EXPECT_EQ(readPositionText("0x10W"), 3600 - 160);
    EXPECT_EQ(readPositionText("12.39E"), 123);  // truncated, not rounded
}

TEST(PositionText, JunkEmptyAndOutOfRangeTexts) {
    EXPECT_EQ(readPositionText(""), 0);
    EXPECT_EQ(readPositionText("W"), 0);  // no number before the letter
    EXPECT_EQ(readPositionText("abc"), 0);
    EXPECT_EQ(readPositionText("+-5"), 0);
    EXPECT_EQ(readPositionText("inf"), 0);
    EXPECT_EQ(readPositionText("nanW"), 0);
    EXPECT_EQ(readPositionText("1e400"), 0);
    // Values past the circle wrap to the position they mean.
    EXPECT_EQ(readPositionText("190.0E"), 1900);  // shown again as 170.0W
    EXPECT_EQ(readPositionText("400.0E"), 400);   // 40.0E
    EXPECT_EQ(readPositionText("-5.0E"), 3550);   // 5.0W
    EXPECT_EQ(readPositionText("200.0W"), 1600);  // 160.0E
    EXPECT_EQ(readPositionText("360.0E"), 0);
    EXPECT_EQ(readPositionText("99999999999999999999"), 0);
}

// Typed values are read strictly: what does not fit is nothing, never a
// different number.
TEST(TypedFields, DecimalRangeEndsAndWhatIsNotANumber) {
    EXPECT_EQ(parseDecimalField("1", 1, 65535), 1);
    EXPECT_EQ(parseDecimalField(" 65535 ", 1, 65535), 65535);
    EXPECT_EQ(parseDecimalField("011750", 1, 65535), 11750);
    for (const char* refused :
         {"0", "65536", "99999", "4294967297", "", "  ", "12a", "abc", "-1", "+5", "1 2", "1.5"})
        EXPECT_EQ(parseDecimalField(refused, 1, 65535), std::nullopt) << refused;
}

TEST(TypedFields, HexRangeEndsPrefixAndJunk) {
    EXPECT_EQ(parseHexField("0", 0x1FFF), 0);
    EXPECT_EQ(parseHexField("1fff", 0x1FFF), 0x1FFF);
    EXPECT_EQ(parseHexField("0x1FFF", 0x1FFF), 0x1FFF);
    EXPECT_EQ(parseHexField("ffff", 0xFFFF), 0xFFFF);
    for (const char* refused : {"2000", "FFFF", "10000", "", "0x", "g1", "-1", "1 f"})
        EXPECT_EQ(parseHexField(refused, 0x1FFF), std::nullopt) << refused;
    EXPECT_EQ(parseHexField("10000", 0xFFFF), std::nullopt);
}

TEST(TypedFields, PositionEndsLettersAndWhatIsRefused) {
    EXPECT_EQ(parsePositionField("0"), 0);
    EXPECT_EQ(parsePositionField("0.0W"), 0);
    EXPECT_EQ(parsePositionField("180.0E"), 1800);
    EXPECT_EQ(parsePositionField("180.0W"), 1800);
    EXPECT_EQ(parsePositionField("19.2"), 192);
    EXPECT_EQ(parsePositionField(" 7w "), 3530);
    EXPECT_EQ(parsePositionField(".5E"), 5);
    EXPECT_EQ(parsePositionField("5."), 50);
    for (const char* refused : {"180.1E", "999.9E", "181W", "-5E", "", "E", ".", "19.25", "1e2",
                                "12xE", "19.2EW", "0x10"})
        EXPECT_EQ(parsePositionField(refused), std::nullopt) << refused;
}

// A stored position shown on the page reads back as itself, so that an
// untouched field never changes the record.
TEST(TypedFields, EveryShownPositionParsesBackToItself) {
    for (int p = 0; p <= 3599; ++p) {
        const auto value = static_cast<std::uint16_t>(p);
        ASSERT_EQ(parsePositionField(positionText(value)), p == 1800 ? 1800 : value)
            << positionText(value);
    }
}

TEST(HexText, FormatAndReadBack) {
    EXPECT_EQ(hex4Text(8191), "1fff");
    EXPECT_EQ(hex4Text(0), "0000");
    EXPECT_EQ(hex4Text(0xABCD), "abcd");
    EXPECT_EQ(readHexText("1FFF"), 8191);
    EXPECT_EQ(readHexText("1fff"), 8191);
    EXPECT_EQ(readHexText("0x1fff"), 8191);
    EXPECT_EQ(readHexText("0X1F"), 0x1F);
    EXPECT_EQ(readHexText(" 12zz"), 0x12);
    for (int v = 0; v <= 0xFFFF; v += 257)
        EXPECT_EQ(readHexText(hex4Text(static_cast<std::uint16_t>(v))), v);
}

TEST(HexText, JunkEmptyPrefixOnlyAndOverflow) {
    EXPECT_EQ(readHexText(""), 0);
    EXPECT_EQ(readHexText("zz"), 0);
    EXPECT_EQ(readHexText("0x"), 0);
    EXPECT_EQ(readHexText("0xg1"), 0);
    EXPECT_EQ(readHexText("12345"), 0x2345);  // cut to the low 16 bits
    EXPECT_EQ(readHexText("ffffffffffffffffffff1"), 0xfff1);
    EXPECT_EQ(readHexText("-1"), 0xFFFF);
}

TEST(DecimalText, SignedCutTo16Bits) {
    EXPECT_EQ(readDecimalText("11778"), 11778);
    EXPECT_EQ(readDecimalText("  27500kHz"), 27500);
    EXPECT_EQ(readDecimalText("65535"), 65535);
    EXPECT_EQ(readDecimalText("65536"), 0);
    EXPECT_EQ(readDecimalText("70000"), 4464);
    EXPECT_EQ(readDecimalText("-1"), 65535);
    EXPECT_EQ(readDecimalText("+12"), 12);
    EXPECT_EQ(readDecimalText(""), 0);
    EXPECT_EQ(readDecimalText("x12"), 0);
    EXPECT_EQ(readDecimalText("-"), 0);
    // 10^22 mod 65536
    EXPECT_EQ(readDecimalText("10000000000000000000000"), 0);
    EXPECT_EQ(readDecimalText("1000000000000000000001"), 1);
}

TEST(FecAndPolarisation, TextsAndOutOfRangeValues) {
    EXPECT_EQ(fecText(0), "AUTO");
    EXPECT_EQ(fecText(1), "1/2");
    EXPECT_EQ(fecText(4), "5/6");
    EXPECT_EQ(fecText(5), "7/8");
    EXPECT_EQ(fecText(6), "");
    EXPECT_EQ(fecText(255), "");
    EXPECT_EQ(polarisationLetter(0), "H");
    EXPECT_EQ(polarisationLetter(1), "V");
    EXPECT_EQ(polarisationLetter(2), "");
    EXPECT_EQ(polarisationName(0), "Horizontal");
    EXPECT_EQ(polarisationName(1), "Vertical");
    EXPECT_EQ(polarisationName(7), "Vertical");
}

TEST(NumberTexts, MinimumWidthsNotMaximum) {
    EXPECT_EQ(channelNumberText(1), "0001");
    EXPECT_EQ(channelNumberText(10000), "10000");
    EXPECT_EQ(channelPageNumberText(7), "007");
    EXPECT_EQ(channelPageNumberText(1234), "1234");
    EXPECT_EQ(favouritePositionText(0), "000");
    EXPECT_EQ(favouritePositionText(12), "012");
}

class ListTexts : public ::testing::Test {
protected:
    void SetUp() override {
        db.satellites.reset(1);
        setNameBytes(db.satellites.primary[0].name, "Sat 19.2E");
        db.transponders.reset(2);
        db.transponders.primary[0] = {0x1, 0x3fd, 11778, 27500, 1, 0, 0};
        db.transponders.primary[1] = {0x2, 0x3fe, 3880, 26666, 0, 3, 4};  // satellite 4 missing
        db.tv.reset(kChannelCapacity);
        setNameBytes(db.tv.primary[0].name, "News 24");
        db.tv.primary[1].transponder_index = 1;
        db.tv.primary[2].transponder_index = 999;  // past the count, inside capacity
    }
    ChannelDatabase db;
};

TEST_F(ListTexts, TransponderAndSatelliteColumns) {
    EXPECT_EQ(transponderColumnText(db, db.tv.primary[0]), "11778 V 27500 AUTO");
    EXPECT_EQ(satelliteColumnText(db, db.tv.primary[0]), "Sat 19.2E");
}

TEST_F(ListTexts, LinksOutsideTheTablesGiveEmptyTexts) {
    EXPECT_EQ(transponderColumnText(db, db.tv.primary[1]), "3880 H 26666 3/4");
    EXPECT_EQ(satelliteColumnText(db, db.tv.primary[1]), "");
    EXPECT_EQ(transponderColumnText(db, db.tv.primary[2]), "");
    EXPECT_EQ(satelliteColumnText(db, db.tv.primary[2]), "");
}

TEST_F(ListTexts, SelectorAndPageTexts) {
    EXPECT_EQ(transponderSelectorText(db.transponders.primary[0]), "11778V  27500  AUTO");
    auto odd = db.transponders.primary[1];
    odd.polarisation = 2;
    odd.fec = 9;
    EXPECT_EQ(currentTransponderText(odd), "3880V  26666  ");

    const auto tp = transponderPageTexts(db.transponders.primary[0]);
    EXPECT_EQ(tp.network_id, "0001");
    EXPECT_EQ(tp.frequency_order, "03fd");
    EXPECT_EQ(tp.frequency, "11778");
    EXPECT_EQ(tp.polarisation, "Vertical");
    EXPECT_EQ(tp.fec, "AUTO");
    EXPECT_EQ(tp.selector, "11778V  27500  AUTO");

    ChannelRecord ch;
    ch.transponder_index = 41;
    ch.video_pid = 8191;
    const auto page = channelPageTexts(ch);
    EXPECT_EQ(page.transponder_number, "42");
    EXPECT_EQ(page.video_pid, "1fff");
    EXPECT_EQ(page.service_id, "0000");

    const auto sat = satellitePageTexts(db.satellites.primary[0]);
    EXPECT_EQ(sat.position, "000.0E");
    EXPECT_EQ(sat.name, "Sat 19.2E");
}

}  // namespace
}  // namespace zoedit
