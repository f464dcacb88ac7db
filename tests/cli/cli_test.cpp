#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "cli/cli_runner.h"

namespace zoedit::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;
using json = nlohmann::json;

// Offsets in the sample file: header, format block and general section
// come first, then the satellite section.
constexpr std::size_t kSatelliteRecords = 105 + 6;

class Cli : public ::testing::Test {
protected:
    void SetUp() override {
        const auto made = cli.run("sample '" + cli.path("sample.bin") + "'");
        ASSERT_EQ(made.exit_code, 0) << made.err;
        bytes = cli.read("sample.bin");
        const auto info = cli.run("info --json '" + cli.path("sample.bin") + "'");
        ASSERT_EQ(info.exit_code, 0) << info.err;
        counts = json::parse(info.out);
        transponder_records = kSatelliteRecords + 52 * counts["satellites"].get<std::size_t>() + 7;
        tv_records = transponder_records + 16 * counts["transponders"].get<std::size_t>() + 7;
    }

    CliResult runOn(const std::string& command, const std::vector<std::uint8_t>& file,
                    const std::string& options = "") {
        cli.write("work.bin", file);
        return cli.run(command + " " + options + " '" + cli.path("work.bin") + "'");
    }

    static void put16(std::vector<std::uint8_t>& b, std::size_t at, unsigned v) {
        b.at(at) = static_cast<std::uint8_t>(v >> 8);
        b.at(at + 1) = static_cast<std::uint8_t>(v);
    }

    CliRunner cli;
    std::vector<std::uint8_t> bytes;
    json counts;
    std::size_t transponder_records = 0;
    std::size_t tv_records = 0;
};

TEST_F(Cli, InfoJsonHasEveryFieldAndAgreesWithTheFile) {
    for (const char* key :
         {"magic", "usage_type", "checksum", "data_length", "hw_version", "sw_version",
          "secondary_length", "model_id", "format_id", "tail_length", "trailer", "satellites",
          "transponders", "tv_channels", "radio_channels", "favourite_groups", "checksum_ok",
          "trailer_ok", "lengths_ok"})
        EXPECT_TRUE(counts.contains(key)) << key;
    EXPECT_EQ(counts["magic"], 0x55AA55AAu);
    EXPECT_EQ(counts["format_id"], 0x04209876u);
    EXPECT_EQ(counts["usage_type"], 3);
    EXPECT_EQ(counts["data_length"], bytes.size() - 64);
    EXPECT_EQ(counts["tail_length"], bytes.size() - 80);
    EXPECT_EQ(counts["trailer"], bytes[bytes.size() - 2] * 256 + bytes.back());
    EXPECT_TRUE(counts["checksum_ok"] && counts["trailer_ok"] && counts["lengths_ok"]);
    EXPECT_GE(counts["tv_channels"], 200);
    EXPECT_FALSE(counts["model_id"].get<std::string>().empty());

    const auto text = cli.run("info '" + cli.path("sample.bin") + "'");
    EXPECT_EQ(text.exit_code, 0);
    EXPECT_THAT(text.out, HasSubstr("magic              0x55aa55aa"));
    EXPECT_THAT(text.out, HasSubstr("checksum           0x"));
    EXPECT_THAT(text.out, ::testing::Not(HasSubstr("expected")));
}

TEST_F(Cli, TamperedFileStillLoadsButItsSumsAreReported) {
    auto tampered = bytes;
    tampered[tv_records + 4] ^= 0x01;  // a letter of the first TV channel's name
    const auto info = runOn("info --json", tampered);
    ASSERT_EQ(info.exit_code, 0) << info.err;
    const auto j = json::parse(info.out);
    EXPECT_FALSE(j["checksum_ok"]);
    EXPECT_FALSE(j["trailer_ok"]);
    EXPECT_TRUE(j["lengths_ok"]);

    const auto check = runOn("check", tampered);
    EXPECT_EQ(check.exit_code, 1);
    EXPECT_THAT(check.out, HasSubstr("header: checksum"));
    EXPECT_THAT(check.out, HasSubstr("trailer: "));

    tampered.push_back(0);  // one byte more: the length words no longer fit
    EXPECT_FALSE(json::parse(runOn("info --json", tampered).out)["lengths_ok"]);
}

TEST_F(Cli, CheckListsEachBrokenLinkAndValue) {
    const auto clean = cli.run("check '" + cli.path("sample.bin") + "'");
    EXPECT_EQ(clean.exit_code, 0) << clean.out;

    auto broken = bytes;
    broken[transponder_records + 16 + 9] = 9;    // transponder 1: fec
    put16(broken, tv_records + 44 * 2, 0x0FFF);  // tv channel 2: transponder_index
    cli.write("broken.bin", broken);
    // Resaving settles the sums, so only the broken records are left to find.
    ASSERT_EQ(cli.run("resave '" + cli.path("broken.bin") + "' '" + cli.path("broken.bin") + "'")
                  .exit_code,
              0);
    const auto check = cli.run("check '" + cli.path("broken.bin") + "'");
    EXPECT_EQ(check.exit_code, 1);
    std::istringstream lines(check.out);
    std::string first, second, third;
    std::getline(lines, first);
    std::getline(lines, second);
    EXPECT_THAT(first, StartsWith("transponder 1 ("));
    EXPECT_THAT(first, HasSubstr("fec 9"));
    EXPECT_THAT(second, StartsWith("tv channel 2 ("));
    EXPECT_THAT(second, HasSubstr("transponder_index 4095"));
    EXPECT_FALSE(std::getline(lines, third));
}

TEST_F(Cli, ExportCsvShowsTheListColumnsWithQuoting) {
    auto named = bytes;
    const std::string name = "A \"B\", C";
    std::copy(name.begin(), name.end(), named.begin() + static_cast<long>(tv_records + 4));
    named[tv_records + 4 + name.size()] = 0;
    const auto csv = runOn("export --format csv --list tv", named);
    ASSERT_EQ(csv.exit_code, 0) << csv.err;
    std::istringstream lines(csv.out);
    std::string header, row;
    std::getline(lines, header);
    EXPECT_EQ(header, "Number,Channel Name,Transponder,Satellite Name");
    std::getline(lines, row);
    EXPECT_THAT(row, StartsWith("0001,\"A \"\"B\"\", C\","));
    EXPECT_THAT(row, ::testing::MatchesRegex(R"(.*,[0-9]+ [HV] [0-9]+ (AUTO|[1-7]/[2-8]),.+)"));
    std::size_t rows = 1;
    while (std::getline(lines, row)) ++rows;
    EXPECT_EQ(rows, counts["tv_channels"].get<std::size_t>());
    // Arabic names come out as UTF-8 letters of the Arabic block.
    EXPECT_THAT(csv.out, HasSubstr("\xD8"));

    for (const char* list : {"radio", "satellites", "transponders", "favourites"}) {
        const auto other = runOn("export --format csv --list", bytes, list);
        EXPECT_EQ(other.exit_code, 0) << list;
        EXPECT_GT(std::count(other.out.begin(), other.out.end(), '\n'), 3) << list;
    }
}

TEST_F(Cli, ExportJsonHoldsEveryRecordUnderItsFieldNames) {
    const auto out = cli.run("export --format json '" + cli.path("sample.bin") + "'");
    ASSERT_EQ(out.exit_code, 0) << out.err;
    const auto j = json::parse(out.out);
    EXPECT_EQ(j["tv"].size(), counts["tv_channels"]);
    EXPECT_EQ(j["radio"].size(), counts["radio_channels"]);
    EXPECT_EQ(j["satellites"].size(), counts["satellites"]);
    EXPECT_EQ(j["transponders"].size(), counts["transponders"]);
    ASSERT_EQ(j["favourites"].size(), counts["favourite_groups"]);
    for (const char* key : {"transponder_index", "service_id", "name", "code_pid", "video_pid",
                            "audio_pid", "fourth_pid", "pid_mode", "scrambled", "locked"})
        EXPECT_TRUE(j["tv"][0].contains(key)) << key;
    for (const char* key : {"band", "position", "name"})
        EXPECT_TRUE(j["satellites"][0].contains(key));
    EXPECT_TRUE(j["favourites"][0]["tv"].is_array());
    EXPECT_TRUE(j["favourites"][0]["radio"].is_array());
    EXPECT_EQ(j["satellites"][0]["position"], 192);

    const auto list = cli.run("export --format json --list radio '" + cli.path("sample.bin") + "'");
    EXPECT_EQ(json::parse(list.out).size(), counts["radio_channels"]);
}

TEST_F(Cli, ResaveChangesOnlyTheBytesASaveRecomputes) {
    auto input = bytes;
    for (std::size_t i = 28; i < 32; ++i) input[i] = 0x11;  // secondary_length
    input[kSatelliteRecords + 47] = 0x5A;                   // reserved byte of satellite 0
    input[kSatelliteRecords] = 0;  // satellite 0 marked C-band, its transponders are Ku
    input[6] ^= 0xFF;              // stale checksum
    cli.write("in.bin", input);
    const auto resave =
        cli.run("resave '" + cli.path("in.bin") + "' '" + cli.path("out.bin") + "'");
    ASSERT_EQ(resave.exit_code, 0) << resave.err;
    const auto output = cli.read("out.bin");
    ASSERT_EQ(output.size(), input.size());
    const std::set<std::size_t> allowed = {6,
                                           7,
                                           28,
                                           29,
                                           30,
                                           31,
                                           kSatelliteRecords,
                                           kSatelliteRecords + 47,
                                           input.size() - 2,
                                           input.size() - 1};
    for (std::size_t i = 0; i < input.size(); ++i)
        if (!allowed.count(i)) {
            ASSERT_EQ(output[i], input[i]) << "offset " << i;
        }
    EXPECT_EQ(output[kSatelliteRecords], 1);  // the first channel's satellite is Ku-band again
    EXPECT_EQ(output, bytes);
    EXPECT_EQ(cli.run("check '" + cli.path("out.bin") + "'").exit_code, 0);
}

TEST_F(Cli, FullSampleLoadsAtCapacity) {
    ASSERT_EQ(cli.run("sample --full '" + cli.path("full.bin") + "'").exit_code, 0);
    const auto info = cli.run("info --json '" + cli.path("full.bin") + "'");
    ASSERT_EQ(info.exit_code, 0) << info.err;
    const auto j = json::parse(info.out);
    EXPECT_EQ(j["satellites"], 255);
    EXPECT_EQ(j["transponders"], 1000);
    EXPECT_EQ(j["tv_channels"], 10000);
    EXPECT_EQ(j["radio_channels"], 10000);
    EXPECT_EQ(j["favourite_groups"], 125);
    EXPECT_EQ(cli.run("check '" + cli.path("full.bin") + "'").exit_code, 0);
}

TEST_F(Cli, ErrorsGoToStderrWithNonZeroExit) {
    const auto missing = cli.run("info '" + cli.path("missing.bin") + "'");
    EXPECT_NE(missing.exit_code, 0);
    EXPECT_TRUE(missing.out.empty());
    EXPECT_THAT(missing.err, HasSubstr("missing.bin"));

    auto bad_magic = bytes;
    bad_magic[0] = 0;
    const auto refused = runOn("export --format json", bad_magic);
    EXPECT_NE(refused.exit_code, 0);
    EXPECT_TRUE(refused.out.empty());
    EXPECT_THAT(refused.err, HasSubstr("Invalid Data Format!!!"));

    const auto unwritable = cli.run("sample '" + cli.path("no/such/folder/x.bin") + "'");
    EXPECT_NE(unwritable.exit_code, 0);
    EXPECT_FALSE(unwritable.err.empty());

    EXPECT_NE(cli.run("export --format xml '" + cli.path("sample.bin") + "'").exit_code, 0);
}

}  // namespace
}  // namespace zoedit::testing
