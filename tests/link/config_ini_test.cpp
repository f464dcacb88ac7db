#include "link/config_ini.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "link/port_settings.h"
#include "support/file_size_limit.h"

namespace zoedit::link {
namespace {

namespace fs = std::filesystem;

// A value longer than any port name or setting anyone types.
constexpr std::size_t kLongestStoredValue = 63;

class ConfigFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ =
            fs::temp_directory_path() /
            ("zoedit-config-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        path_ = (dir_ / kConfigFileName).string();
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string read() const {
        std::ifstream in(path_);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void write(const std::string& text) const { std::ofstream(path_) << text; }

    fs::path dir_;
    std::string path_;
};

TEST_F(ConfigFile, MissingFileIsCreatedWithTheDefaults) {
    PortState state;
    const ConfigLoad load = loadPortState(state, path_);
    EXPECT_TRUE(load.status.ok) << load.status.message;
    EXPECT_TRUE(load.created);
    EXPECT_EQ(read(), "8\n0\n0\nNone\nCom1\n115200\n1\n");
    EXPECT_EQ(state.settings, LinkSettings{});
    EXPECT_EQ(state.m_nPortNumber, 1);
    EXPECT_EQ(state.m_nBaudRate, 115200u);
    EXPECT_FALSE(state.m_bPortOpen);
}

TEST_F(ConfigFile, ValuesReadInTheirPlaces) {
    write("7\n1\n3\nEven\nCom3\n9600\n2\n");
    const ConfigLoad load = loadConfigIni(path_);
    EXPECT_FALSE(load.created);
    const LinkSettings expected{"7", 1, 3, "Even", "Com3", "9600", "2"};
    EXPECT_EQ(load.settings, expected);
    // Tokens, not lines: one line or extra blank lines read the same.
    EXPECT_EQ(parseConfigIni("7 1 3 Even\n\n Com3\t9600 2"), expected);
}

TEST_F(ConfigFile, SaveWritesWhatLoadReads) {
    const LinkSettings chosen{"5", 1, 2, "Mark", "/dev/ttyUSB0", "256000", "1.5"};
    ASSERT_TRUE(saveConfigIni(path_, chosen).ok);
    EXPECT_EQ(read(), "5\n1\n2\nMark\n/dev/ttyUSB0\n256000\n1.5\n");
    EXPECT_EQ(loadConfigIni(path_).settings, chosen);
    EXPECT_FALSE(fs::exists(path_ + ".new"));
}

TEST(ConfigParse, MissingAndUnreadableValuesTakeTheirDefaults) {
    const LinkSettings defaults;
    EXPECT_EQ(parseConfigIni(""), defaults);
    LinkSettings partial = parseConfigIni("6\n1\n");
    EXPECT_EQ(partial.data_bits, "6");
    EXPECT_EQ(partial.off_on, 1);
    EXPECT_EQ(partial.port, "Com1");
    EXPECT_EQ(partial.stop_bits, "1");

    // A bad number does not shift the values after it.
    const LinkSettings bad = parseConfigIni("8\nyes\n7\nOdd\nCom2\n4800\n2\n");
    EXPECT_EQ(bad.off_on, 0);
    EXPECT_EQ(bad.flow_control, 0);  // 7 is no flow-control choice
    EXPECT_EQ(bad.parity, "Odd");
    EXPECT_EQ(bad.port, "Com2");
    EXPECT_EQ(bad.stop_bits, "2");

    EXPECT_EQ(parseConfigIni("8 -1 2").off_on, 0);
    EXPECT_EQ(parseConfigIni("8 1x 2").off_on, 0);
    EXPECT_EQ(parseConfigIni("8 0 99999999999999").flow_control, 0);
    EXPECT_EQ(parseConfigIni("8 +1 +2").flow_control, 2);

    const std::string huge(500, 'A');
    EXPECT_EQ(parseConfigIni("8 0 0 None " + huge + " 9600").port, "Com1");
    EXPECT_EQ(parseConfigIni("8 0 0 None " + huge + " 9600").speed, "9600");

    // Either side of the longest value kept.
    const std::string longest(kLongestStoredValue, 'P');
    EXPECT_EQ(parseConfigIni("8 0 0 None " + longest + " 9600").port, longest);
    EXPECT_EQ(parseConfigIni("8 0 0 None " + longest + "Q 9600").port, "Com1");
    EXPECT_EQ(parseConfigIni("8 0 0 None Com2 " + longest + "Q 1").stop_bits, "1");
}

TEST_F(ConfigFile, TextThatWouldNotReadBackIsRefused) {
    ASSERT_TRUE(saveConfigIni(path_, LinkSettings{}).ok);
    LinkSettings blank;
    blank.port = "Com 2";
    ConfigStatus status = saveConfigIni(path_, blank);
    EXPECT_FALSE(status.ok);
    EXPECT_NE(status.message.find("Com 2"), std::string::npos);
    LinkSettings empty;
    empty.speed = "";
    EXPECT_FALSE(saveConfigIni(path_, empty).ok);
    LinkSettings too_long;
    too_long.parity = std::string(kLongestStoredValue + 1, 'P');
    status = saveConfigIni(path_, too_long);
    EXPECT_FALSE(status.ok);
    EXPECT_NE(status.message.find(too_long.parity), std::string::npos);
    EXPECT_EQ(read(), formatConfigIni(LinkSettings{}));  // the old file stays

    // The longest value that is kept goes in and reads back whole.
    LinkSettings longest;
    longest.port = std::string(kLongestStoredValue, 'P');
    ASSERT_TRUE(saveConfigIni(path_, longest).ok);
    EXPECT_EQ(loadConfigIni(path_).settings, longest);
}

TEST_F(ConfigFile, UnwritableFileIsReported) {
    // A folder that is really a file: no rights let anyone write below it.
    std::ofstream(dir_ / "folder") << "x";
    const std::string path = (dir_ / "folder" / kConfigFileName).string();
    PortState state;
    const ConfigLoad load = loadPortState(state, path);
    EXPECT_FALSE(load.status.ok);
    EXPECT_FALSE(load.created);
    EXPECT_NE(load.status.message.find(path), std::string::npos);
    EXPECT_EQ(state.m_nPortNumber, 1);  // the defaults are still in force

    LinkSettings chosen;
    chosen.port = "Com4";
    const ConfigStatus saved = acceptSettings(state, chosen, path);
    EXPECT_FALSE(saved.ok);
    EXPECT_NE(saved.message.find(path), std::string::npos);
    EXPECT_EQ(state.m_nPortNumber, 4);  // taken for this run all the same
}

// A write that stops halfway (the disk full, here a size limit that holds
// for root as well) keeps the settings file that was there, whole.
TEST_F(ConfigFile, FailedWriteKeepsTheOldFile) {
    const LinkSettings old{"7", 1, 2, "Even", "Com3", "9600", "2"};
    ASSERT_TRUE(saveConfigIni(path_, old).ok);
    LinkSettings chosen;
    chosen.port = std::string(kLongestStoredValue, 'P');
    ConfigStatus status;
    {
        test::FileSizeLimit limit(16);
        ASSERT_TRUE(limit.applied());
        status = saveConfigIni(path_, chosen);
    }
    EXPECT_FALSE(status.ok);
    EXPECT_EQ(status.message, "Cannot save " + path_ + ": File too large");
    EXPECT_EQ(read(), formatConfigIni(old));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST(PortSettings, PortNumberFromTheFourthCharacter) {
    EXPECT_EQ(portNumberFrom("Com3", 0), 3);
    EXPECT_EQ(portNumberFrom("COM3", 0), 3);
    EXPECT_EQ(portNumberFrom("Com10", 0), 1);
    EXPECT_EQ(portNumberFrom("Com5", 2), 2);
    EXPECT_EQ(portNumberFrom("Com", 2), 2);
    EXPECT_EQ(portNumberFrom("/dev/ttyUSB0", 3), 3);
}

TEST(PortSettings, BaudRateFromSpeedText) {
    EXPECT_EQ(baudRateFrom("115200"), 115200u);
    EXPECT_EQ(baudRateFrom("fast"), 0u);
    EXPECT_EQ(baudRateFrom("-300"), 0u);
    EXPECT_EQ(baudRateFrom("9600baud"), 9600u);
    EXPECT_EQ(baudRateFrom("99999999999999999999"), 0u);
}

TEST(PortSettings, LaterSettingKeepsAnUnknownPortNumber) {
    PortState state;
    takeSettings(state, LinkSettings{"8", 0, 0, "None", "Com2", "1200", "1"});
    takeSettings(state, LinkSettings{"8", 0, 0, "None", "Port", "x", "1"});
    EXPECT_EQ(state.m_nPortNumber, 2);
    EXPECT_EQ(state.m_nBaudRate, 0u);
    EXPECT_EQ(state.settings.port, "Port");
}

}  // namespace
}  // namespace zoedit::link
