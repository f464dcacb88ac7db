#include "link/port_params.h"

#include <gtest/gtest.h>

namespace zoedit::link {
namespace {

PortParams params(std::string parity = "None", std::string stop = "1", int flow = 0) {
    return PortParams{"COM1", 115200, 1, "8", std::move(parity), std::move(stop), flow};
}

// A port whose current flags are all unusual, so that kept and replaced
// flags can be told apart.
LineSettings oddCurrent() {
    LineSettings s;
    s.parity = Parity::Space;
    s.binary = false;
    s.parity_check = true;
    s.outx_cts_flow = true;
    s.outx_dsr_flow = true;
    s.dtr_control = DtrControl::Handshake;
    s.dsr_sensitivity = true;
    s.tx_continue_on_xoff = true;
    s.out_x = true;
    s.in_x = true;
    s.error_char_replace = true;
    s.null_strip = true;
    s.rts_control = RtsControl::Toggle;
    s.abort_on_error = true;
    s.xon_lim = 7;
    s.xoff_lim = 9;
    s.xon_char = 1;
    s.xoff_char = 2;
    s.error_char = 3;
    s.eof_char = 4;
    s.evt_char = 5;
    return s;
}

TEST(PortParams, ParityByFirstCharacterOnly) {
    const LineSettings current = oddCurrent();  // Space
    EXPECT_EQ(applyPortParams(current, params("Even")).parity, Parity::Even);
    EXPECT_EQ(applyPortParams(current, params("Odd")).parity, Parity::Odd);
    EXPECT_EQ(applyPortParams(current, params("None")).parity, Parity::None);
    EXPECT_EQ(applyPortParams(current, params("Mark")).parity, Parity::Mark);
    EXPECT_EQ(applyPortParams(LineSettings{}, params("Space")).parity, Parity::Space);
    EXPECT_EQ(applyPortParams(current, params("Nonsense")).parity, Parity::None);
    // Lower case, other letters and an empty text keep the port's parity.
    EXPECT_EQ(applyPortParams(current, params("even")).parity, Parity::Space);
    EXPECT_EQ(applyPortParams(current, params("none")).parity, Parity::Space);
    EXPECT_EQ(applyPortParams(current, params("X")).parity, Parity::Space);
    EXPECT_EQ(applyPortParams(current, params("")).parity, Parity::Space);
}

TEST(PortParams, StopBitsByLengthThenValue) {
    const LineSettings s;
    EXPECT_EQ(applyPortParams(s, params("N", "1")).stop_bits, StopBits::One);
    EXPECT_EQ(applyPortParams(s, params("N", "2")).stop_bits, StopBits::Two);
    EXPECT_EQ(applyPortParams(s, params("N", "x")).stop_bits, StopBits::Two);
    EXPECT_EQ(applyPortParams(s, params("N", "1.5")).stop_bits, StopBits::OneAndHalf);
    EXPECT_EQ(applyPortParams(s, params("N", "10")).stop_bits, StopBits::OneAndHalf);
    EXPECT_EQ(applyPortParams(s, params("N", "")).stop_bits, StopBits::OneAndHalf);
}

TEST(PortParams, FlowNoneReplacesTheWholeFlagWord) {
    const LineSettings s = applyPortParams(oddCurrent(), params("Space", "1", 0));
    LineSettings expected;  // a port just opened, with the flag word set fresh
    expected.baud_rate = 115200;
    expected.parity = Parity::Space;
    expected.xon_lim = 100;
    expected.xoff_lim = 100;
    EXPECT_EQ(s, expected);
    EXPECT_EQ(flowControlOf(s), FlowControl::None);
}

TEST(PortParams, XonXoffAndXonRtsAreTheSameAndKeepOtherFlags) {
    const LineSettings one = applyPortParams(oddCurrent(), params("Space", "1", 1));
    const LineSettings three = applyPortParams(oddCurrent(), params("Space", "1", 3));
    EXPECT_EQ(one, three);
    EXPECT_TRUE(one.out_x && one.in_x);
    EXPECT_EQ(one.rts_control, RtsControl::Enable);
    EXPECT_EQ(one.xon_char, 0x11);
    EXPECT_EQ(one.xoff_char, 0x13);
    EXPECT_EQ(one.xon_lim, 100);
    EXPECT_EQ(one.xoff_lim, 100);
    // Kept from the port.
    EXPECT_FALSE(one.binary);
    EXPECT_TRUE(one.outx_cts_flow);
    EXPECT_EQ(one.dtr_control, DtrControl::Handshake);
    EXPECT_TRUE(one.abort_on_error);
    EXPECT_EQ(one.error_char, 3);
    EXPECT_EQ(one.eof_char, 4);

    LineSettings plain;
    EXPECT_EQ(flowControlOf(applyPortParams(plain, params("N", "1", 1))), FlowControl::Software);
}

TEST(PortParams, RtsTurnsXonOffAndChangesNothingElse) {
    LineSettings expected = oddCurrent();
    const LineSettings s = applyPortParams(oddCurrent(), params("Space", "1", 2));
    expected.baud_rate = 115200;
    expected.out_x = false;
    expected.in_x = false;
    expected.rts_control = RtsControl::Enable;
    EXPECT_EQ(s, expected);
    EXPECT_EQ(flowControlOf(applyPortParams(LineSettings{}, params("N", "1", 2))),
              FlowControl::None);
}

TEST(PortParams, OtherFlowIndexesChangeNoFlag) {
    for (int index : {-1, 4, 99}) {
        LineSettings expected = oddCurrent();
        expected.baud_rate = 115200;
        EXPECT_EQ(applyPortParams(oddCurrent(), params("Space", "1", index)), expected) << index;
    }
}

TEST(PortParams, DeviceOfAPortName) {
    EXPECT_EQ(devicePathForPortName("COM1"), "/dev/ttyS0");
    EXPECT_EQ(devicePathForPortName("COM4"), "/dev/ttyS3");
    EXPECT_EQ(devicePathForPortName("com2"), "/dev/ttyS1");
    EXPECT_EQ(devicePathForPortName("/dev/ttyUSB0"), "/dev/ttyUSB0");
    EXPECT_EQ(devicePathForPortName("/dev/pts/3"), "/dev/pts/3");
    EXPECT_EQ(devicePathForPortName("COM0"), "");
    EXPECT_EQ(devicePathForPortName("COM"), "");
    EXPECT_EQ(devicePathForPortName("COM1x"), "");
    EXPECT_EQ(devicePathForPortName("ttyS0"), "");
    EXPECT_EQ(devicePathForPortName(""), "");
}

}  // namespace
}  // namespace zoedit::link
