// The CSV of one list as reference: what the export writes reads back with
// every identity, older CSVs still give names, and a bad line refuses the
// whole file with its line number and reason.
#include "order/csv_reference.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "database/csv_text.h"
#include "database/field_format.h"
#include "support/database_builder.h"

namespace zoedit::order {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

constexpr const char* kHeader =
    "Number,Channel Name,Transponder,Satellite Name,Service ID,Satellite Position\n";

CsvReference read(const std::string& text, CodePage page = CodePage::Windows1256) {
    return readCsvReference(text, ChannelKind::Radio, page);
}

void expectRefused(const std::string& text, std::size_t line, const std::string& reason) {
    SCOPED_TRACE(text.substr(0, 160));
    const CsvReference csv = read(text);
    EXPECT_FALSE(csv.reference);
    EXPECT_EQ(csv.line, line);
    EXPECT_THAT(csv.message(), StartsWith("line " + std::to_string(line) + ": "));
    EXPECT_THAT(csv.message(), HasSubstr(reason));
}

TEST(CsvReference, RowsWrittenFromADatabaseReadBackWithTheirIdentities) {
    ChannelDatabase db = testing::buildDatabase(
        {.satellites = 8, .transponders = 12, .tv = 3, .radio = 30, .groups = {}, .seed = 5});
    db.satellites.primary[1].position = 1800;  // 180.0W
    db.satellites.primary[2].position = 3599;
    db.satellites.primary[3].position = 0;
    db.radio.primary[4].service_id = 0xFFFF;
    setNameBytes(db.radio.primary[5].name, " \"Quoted\", name ");
    db.radio.primary[6].transponder_index = 999;  // no transponder: no identity
    std::string text = kHeader;
    for (std::size_t i = 0; i < db.radio.count; ++i) {
        const ChannelRecord& ch = db.radio.primary[i];
        const auto identity = identityColumnTexts(db, ch);
        text += channelNumberText(i + 1) + "," + csvField(nameBytes(ch.name)) + "," +
                csvField(transponderColumnText(db, ch)) + "," +
                csvField(satelliteColumnText(db, ch)) + "," + identity[0] + "," + identity[1] +
                "\r\n";
    }
    const CsvReference csv = read(text, CodePage::Latin1);
    ASSERT_TRUE(csv.reference) << csv.message();
    EXPECT_FALSE(csv.reference->tv);
    EXPECT_FALSE(csv.reference->has_locks);
    EXPECT_FALSE(csv.reference->groups);
    ASSERT_TRUE(csv.reference->radio);
    const std::vector<ReferenceChannel> expected = referenceChannels(db, ChannelKind::Radio);
    const auto& rows = *csv.reference->radio;
    ASSERT_EQ(rows.size(), expected.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rows[i].name, expected[i].name);
        ASSERT_EQ(rows[i].identity.has_value(), expected[i].identity.has_value());
        if (!rows[i].identity) continue;
        EXPECT_EQ(rows[i].identity->position, expected[i].identity->position);
        EXPECT_EQ(rows[i].identity->frequency, expected[i].identity->frequency);
        EXPECT_EQ(rows[i].identity->polarisation, expected[i].identity->polarisation);
        EXPECT_EQ(rows[i].identity->service_id, expected[i].identity->service_id);
    }
    EXPECT_FALSE(rows[6].identity);
}

TEST(CsvReference, NamesComeInTheCodePageAndOlderCsvsGiveNamesOnly) {
    const CsvReference csv = read(
        "\xEF\xBB\xBFNumber,Channel Name,Transponder,Satellite Name\n"
        "0001,\xD8\xA7\xD9\x84\xD8\xAC\xD8\xB2\xD9\x8A\xD8\xB1\xD8\xA9,11747 H 27500 3/4,Nile\n"
        "\n"
        ",,,\n"
        "0002,\"Two\nLines\",,\n");
    ASSERT_TRUE(csv.reference) << csv.message();
    const auto& rows = *csv.reference->radio;
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].name, "\xC7\xE1\xCC\xD2\xED\xD1\xC9");  // Windows-1256 bytes
    EXPECT_FALSE(rows[0].identity);
    EXPECT_EQ(rows[1].name, "Two\nLines");
    // A polarisation the text cannot show leaves the row without identity.
    const CsvReference no_letter =
        read(std::string(kHeader) + "1,A,11747  27500 3/4,S,0001,019.2E\n");
    ASSERT_TRUE(no_letter.reference) << no_letter.message();
    EXPECT_FALSE((*no_letter.reference->radio)[0].identity);
}

TEST(CsvReference, ABadLineIsRefusedWithItsNumberAndReason) {
    const std::string h = kHeader;
    expectRefused("", 1, "names no columns");
    expectRefused("Number,Name\n1,A\n", 1, "\"Channel Name\" among them");
    expectRefused(h + "1,A,11747 H 27500 3/4,S,0001\n", 2, "it has 5 fields where");
    expectRefused(h + "1,A,11747 H,S,0001,019.2E\n2,B,,,0001,019.2E,x\n", 3, "it has 7 fields");
    expectRefused(h + "1,A,,,00g1,\n", 2, "the service id \"00g1\" is not a hexadecimal");
    expectRefused(h + "1,A,,,12345,\n", 2, "the service id \"12345\"");
    expectRefused(h + "1,A,,,,19.2N\n", 2,
                  "the satellite position \"19.2N\" is not a position "
                  "such as 019.2E or 007.0W");
    expectRefused(h + "1,A,,,,360.0E\n", 2, "the satellite position");
    expectRefused(h + "1,A,,,,180.1W\n", 2, "the satellite position");
    expectRefused(h + "1,A,H 11747,,,\n", 2, "the transponder \"H 11747\" does not begin");
    expectRefused(h + "1,A,70000 H,,,\n", 2, "the transponder");
    expectRefused(h + "\n1,A,,,,\n\n2,\"B\"x,,,,\n", 5, "goes on after its closing quote");
    expectRefused(h + "1,A,,,,\n2,B\",,,,\n", 3, "a quote stands inside a field");
    expectRefused(h + "1,\"A\n\n,,,,\n", 2, "a quoted field is not closed");
    expectRefused(h + "1,\"A\nB\",,,,\n2,\xCE\xA9,,,,\n", 4,
                  "has characters the code page "
                  "cannot hold");
    expectRefused(h + "1,Twenty four letters long,,,,\n", 2, "longer than the 23 letters");
    std::string full = h;
    for (std::size_t i = 0; i <= kChannelCapacity; ++i) full += "1,A,,,,\n";
    expectRefused(full, kChannelCapacity + 2, "at most 10000 channels");
    // Blanks around the identity texts are allowed.
    EXPECT_TRUE(read(h + "1,A, 11747 H , S , 0x1f , 007.0W \n").reference);
}

}  // namespace
}  // namespace zoedit::order
