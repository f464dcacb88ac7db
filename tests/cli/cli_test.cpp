#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "cli/cli_runner.h"
#include "database/channel_file.h"
#include "database/field_format.h"

namespace zoedit::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;
using json = nlohmann::json;

// Offsets in the sample file: header, format block and general section
// come first, then the satellite section.
constexpr std::size_t kSatelliteRecords = 105 + 6;

// The fields of each line of a CSV text after its title line.
std::vector<std::vector<std::string>> csvRows(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row(1);
    bool quoted = false, title = true;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                row.back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                row.back() += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            row.emplace_back();
        } else if (c == '\n') {
            if (!title) rows.push_back(std::move(row));
            title = false;
            row.assign(1, std::string());
        } else {
            row.back() += c;
        }
    }
    return rows;
}

int number(const std::string& text) {
    return std::stoi(text);
}

class Cli : public ::testing::Test {
protected:
    void SetUp() override {
        const auto made = cli.run("sample '" + cli.path("sample.bin") + "'");
        ASSERT_EQ(made.exit_code, 0) << made.err;
        bytes = cli.read("sample.bin");
        const auto info = cli.run("info --json '" + cli.path("sample.bin") + "'");
        ASSERT_EQ(info.exit_code, 0) << info.err;
        counts = json::parse(info.out);
        ASSERT_TRUE(loadChannelFile(cli.path("sample.bin"), db).ok());
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
    ChannelDatabase db;  // the sample as the program loads it
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
    // The list's columns, then the identity a CSV reference of apply-order needs.
    EXPECT_EQ(header,
              "Number,Channel Name,Transponder,Satellite Name,Service ID,Satellite Position");
    std::getline(lines, row);
    EXPECT_THAT(row, StartsWith("0001,\"A \"\"B\"\", C\","));
    EXPECT_THAT(row, ::testing::MatchesRegex(R"(.*,[0-9]+ [HV] [0-9]+ (AUTO|[1-7]/[2-8]),.+)"));
    std::size_t rows = 1;
    while (std::getline(lines, row)) ++rows;
    EXPECT_EQ(rows, counts["tv_channels"].get<std::size_t>());
    // Arabic names come out as UTF-8 letters of the Arabic block.
    EXPECT_THAT(csv.out, HasSubstr("\xD8"));

    // Every list's values are those of the loaded database, row for row.
    for (const auto kind : {ChannelKind::Tv, ChannelKind::Radio}) {
        const char* list = kind == ChannelKind::Tv ? "tv" : "radio";
        const auto rows = csvRows(runOn("export --format csv --list", bytes, list).out);
        const auto records = db.channels(kind).records();
        ASSERT_EQ(rows.size(), records.size()) << list;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            SCOPED_TRACE(std::string(list) + " row " + std::to_string(i));
            ASSERT_EQ(rows[i].size(), 6u);
            EXPECT_EQ(number(rows[i][0]), static_cast<int>(i + 1));
            const TransponderRecord& tp = db.transponders.primary[records[i].transponder_index];
            EXPECT_EQ(std::stoi(rows[i][4], nullptr, 16), records[i].service_id);
            EXPECT_EQ(rows[i][5], positionText(db.satellites.primary[tp.satellite_index].position));
            std::istringstream column(rows[i][2]);
            int frequency = 0, symbol_rate = 0;
            std::string polarisation;
            column >> frequency >> polarisation >> symbol_rate;
            EXPECT_EQ(frequency, tp.frequency);
            EXPECT_EQ(polarisation, tp.polarisation ? "V" : "H");
            EXPECT_EQ(symbol_rate, tp.symbol_rate);
        }
    }
    const auto satellites = csvRows(runOn("export --format csv --list", bytes, "satellites").out);
    ASSERT_EQ(satellites.size(), db.satellites.count);
    for (std::size_t i = 0; i < satellites.size(); ++i) {
        const SatelliteRecord& sat = db.satellites.primary[i];
        ASSERT_EQ(satellites[i].size(), 4u);
        EXPECT_EQ(number(satellites[i][0]), static_cast<int>(i));
        EXPECT_EQ(satellites[i][3], sat.band == 0 ? "C" : "Ku") << "satellite " << i;
        const double degrees = std::stod(satellites[i][2]);
        const double east = satellites[i][2].back() == 'W' ? 360.0 - degrees : degrees;
        EXPECT_EQ(static_cast<int>(east * 10 + 0.5), sat.position) << "satellite " << i;
    }
    const auto transponders =
        csvRows(runOn("export --format csv --list", bytes, "transponders").out);
    ASSERT_EQ(transponders.size(), db.transponders.count);
    for (std::size_t i = 0; i < transponders.size(); ++i) {
        SCOPED_TRACE("transponder " + std::to_string(i));
        const TransponderRecord& tp = db.transponders.primary[i];
        ASSERT_EQ(transponders[i].size(), 8u);
        EXPECT_EQ(number(transponders[i][2]), tp.frequency);
        EXPECT_EQ(transponders[i][3], tp.polarisation ? "V" : "H");
        EXPECT_EQ(number(transponders[i][4]), tp.symbol_rate);
        EXPECT_EQ(std::stoi(transponders[i][6], nullptr, 16), tp.network_id);
        EXPECT_EQ(std::stoi(transponders[i][7], nullptr, 16), tp.frequency_order);
    }
    const auto favourites = csvRows(runOn("export --format csv --list", bytes, "favourites").out);
    std::size_t at = 0;
    for (std::size_t g = 0; g < db.favouriteGroupCount(); ++g) {
        for (const auto kind : {ChannelKind::Tv, ChannelKind::Radio}) {
            int position = 0;
            for (const auto member : db.groupMembers(g, kind)) {
                SCOPED_TRACE("favourite row " + std::to_string(at));
                ASSERT_LT(at, favourites.size());
                const auto& row = favourites[at++];
                ASSERT_EQ(row.size(), 6u);
                EXPECT_EQ(number(row[0]), static_cast<int>(g + 1));
                EXPECT_EQ(row[2], kind == ChannelKind::Tv ? "tv" : "radio");
                EXPECT_EQ(number(row[3]), ++position);
                EXPECT_EQ(number(row[4]), member + 1);
            }
        }
    }
    EXPECT_GT(at, 0u);
    EXPECT_EQ(at, favourites.size());
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
    // Each record's values, for every list, are those of the loaded database.
    for (const auto kind : {ChannelKind::Tv, ChannelKind::Radio}) {
        const json& list = j[kind == ChannelKind::Tv ? "tv" : "radio"];
        const auto records = db.channels(kind).records();
        for (std::size_t i = 0; i < records.size(); ++i) {
            SCOPED_TRACE((kind == ChannelKind::Tv ? "tv " : "radio ") + std::to_string(i));
            const ChannelRecord& ch = records[i];
            const json& e = list[i];
            EXPECT_EQ(e["transponder_index"], ch.transponder_index);
            EXPECT_EQ(e["service_id"], ch.service_id);
            EXPECT_EQ(e["code_pid"], ch.code_pid);
            EXPECT_EQ(e["video_pid"], ch.video_pid);
            EXPECT_EQ(e["audio_pid"], ch.audio_pid);
            EXPECT_EQ(e["fourth_pid"], ch.fourth_pid);
            EXPECT_EQ(e["pid_mode"], ch.pid_mode);
            EXPECT_EQ(e["scrambled"], ch.scrambled);
            EXPECT_EQ(e["locked"], ch.locked);
            EXPECT_TRUE(e["name"].is_string());
        }
    }
    for (std::size_t i = 0; i < db.satellites.count; ++i) {
        const SatelliteRecord& sat = db.satellites.primary[i];
        EXPECT_EQ(j["satellites"][i]["band"], sat.band) << "satellite " << i;
        EXPECT_EQ(j["satellites"][i]["position"], sat.position) << "satellite " << i;
    }
    for (std::size_t i = 0; i < db.transponders.count; ++i) {
        SCOPED_TRACE("transponder " + std::to_string(i));
        const TransponderRecord& tp = db.transponders.primary[i];
        const json& e = j["transponders"][i];
        EXPECT_EQ(e["network_id"], tp.network_id);
        EXPECT_EQ(e["frequency_order"], tp.frequency_order);
        EXPECT_EQ(e["frequency"], tp.frequency);
        EXPECT_EQ(e["symbol_rate"], tp.symbol_rate);
        EXPECT_EQ(e["polarisation"], tp.polarisation);
        EXPECT_EQ(e["fec"], tp.fec);
        EXPECT_EQ(e["satellite_index"], tp.satellite_index);
    }
    for (std::size_t g = 0; g < db.favouriteGroupCount(); ++g) {
        for (const auto kind : {ChannelKind::Tv, ChannelKind::Radio}) {
            const auto members = db.groupMembers(g, kind);
            EXPECT_EQ(j["favourites"][g][kind == ChannelKind::Tv ? "tv" : "radio"],
                      json(std::vector<std::uint16_t>(members.begin(), members.end())))
                << "favourite group " << g;
        }
    }
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
