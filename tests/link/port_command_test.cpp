#include "link/port_command.h"

#include <gtest/gtest.h>

#include <vector>

namespace zoedit::link {
namespace {

struct FakePort : LinkPort {
    bool open_result = true;
    std::vector<PortParams> opened;
    int closes = 0;
    bool OpenPort(const PortParams& p) override {
        opened.push_back(p);
        return open_result;
    }
    void ClosePort() override { ++closes; }
    std::size_t WriteComm(const std::uint8_t*, std::size_t count) override { return count; }
    std::string lastError() const override { return reason; }
    std::string reason;
};

struct FakeUi : PortCommandUi {
    std::vector<std::string> status;
    std::vector<std::string> boxes;
    void setStatusText(const std::string& t) override { status.push_back(t); }
    void showMessage(const std::string& t) override { boxes.push_back(t); }
};

PortState stateWith(const std::string& port) {
    PortState s;
    takeSettings(s, LinkSettings{"7", 1, 3, "Even", port, "38400", "2"});
    return s;
}

TEST(PortCommand, OpensWithTheSettingsThenClosesOnTheNextRun) {
    PortState state = stateWith("Com3");
    FakePort port;
    FakeUi ui;
    runPortCommand(state, port, ui);
    ASSERT_EQ(port.opened.size(), 1u);
    const PortParams& p = port.opened[0];
    EXPECT_EQ(p.port_name, "COM3");
    EXPECT_EQ(p.baud_rate, 38400u);
    EXPECT_EQ(p.port_id, 3);
    EXPECT_EQ(p.data_bits, "7");
    EXPECT_EQ(p.parity, "Even");
    EXPECT_EQ(p.stop_bits, "2");
    EXPECT_EQ(p.flow_control, 3);
    EXPECT_TRUE(state.m_bPortOpen);
    EXPECT_EQ(ui.status.back(), "Initialization of Port COM3 is successful.");

    runPortCommand(state, port, ui);
    EXPECT_EQ(port.closes, 1);
    EXPECT_FALSE(state.m_bPortOpen);
    EXPECT_EQ(ui.status.back(), "Port COM3 is closed.");
    EXPECT_TRUE(ui.boxes.empty());
}

TEST(PortCommand, TypedUpperCaseAndListedTextOpenTheSameName) {
    for (const char* text : {"Com3", "COM3", "cOm3"}) {
        PortState state = stateWith(text);
        FakePort port;
        FakeUi ui;
        runPortCommand(state, port, ui);
        ASSERT_EQ(port.opened.size(), 1u);
        EXPECT_EQ(port.opened[0].port_name, "COM3") << text;
    }
}

TEST(PortCommand, NoPortNumberAsksForSetup) {
    PortState state = stateWith("Serial");
    FakePort port;
    FakeUi ui;
    runPortCommand(state, port, ui);
    EXPECT_TRUE(port.opened.empty());
    EXPECT_FALSE(state.m_bPortOpen);
    EXPECT_EQ(ui.status, std::vector<std::string>{"Please set up the port first."});
    EXPECT_TRUE(ui.boxes.empty());
}

TEST(PortCommand, FailedOpenIsShownTwiceAndLeavesThePortClosed) {
    PortState state = stateWith("Com1");
    FakePort port;
    port.open_result = false;
    FakeUi ui;
    runPortCommand(state, port, ui);
    EXPECT_FALSE(state.m_bPortOpen);
    EXPECT_EQ(ui.status, std::vector<std::string>{"Failed initializing port."});
    EXPECT_EQ(ui.boxes,
              std::vector<std::string>{"Failed initializing port.\nCOM1: it could not be opened."});
    // The second line names the port and gives the system's reason.
    port.reason = "Permission denied (/dev/ttyS0)";
    runPortCommand(state, port, ui);
    EXPECT_EQ(ui.boxes.back(), "Failed initializing port.\nCOM1: Permission denied (/dev/ttyS0)");
    EXPECT_EQ(ui.status.back(), "Failed initializing port.");
    // The next run tries to open again rather than to close.
    port.open_result = true;
    runPortCommand(state, port, ui);
    EXPECT_EQ(port.closes, 0);
    EXPECT_TRUE(state.m_bPortOpen);
}

TEST(PortCommand, DevicePathOpensThatDeviceAndNamesIt) {
    PortState state;  // no port number yet: a path needs none
    takeSettings(state, LinkSettings{"8", 0, 0, "None", "/dev/pts/7", "115200", "1"});
    ASSERT_EQ(state.m_nPortNumber, 0);
    FakePort port;
    FakeUi ui;
    runPortCommand(state, port, ui);
    ASSERT_EQ(port.opened.size(), 1u);
    EXPECT_EQ(port.opened[0].port_name, "/dev/pts/7");
    EXPECT_EQ(ui.status.back(), "Initialization of Port /dev/pts/7 is successful.");
    runPortCommand(state, port, ui);
    EXPECT_EQ(ui.status.back(), "Port /dev/pts/7 is closed.");
}

TEST(PortCommand, ClosedTextNamesThePortThatWasOpen) {
    PortState state = stateWith("Com2");
    FakePort port;
    FakeUi ui;
    runPortCommand(state, port, ui);
    takeSettings(state, LinkSettings{"8", 0, 0, "None", "Com4", "9600", "1"});
    runPortCommand(state, port, ui);
    EXPECT_EQ(ui.status.back(), "Port COM2 is closed.");
    runPortCommand(state, port, ui);  // the new settings take effect at this open
    EXPECT_EQ(port.opened.back().port_name, "COM4");
}

}  // namespace
}  // namespace zoedit::link
