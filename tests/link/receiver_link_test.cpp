#include "link/receiver_link.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "link/port_settings_dialog.h"
#include "receiver_link_fixture.h"

namespace zoedit::test {

namespace {

using namespace ui;
using link::LINK_ACK;
using link::LINK_READY;

void writeConfig(LinkRig& rig, const std::string& text) {
    std::ofstream(rig.dir.path("config.ini")) << text;
}

// ---------------------------------------------------------------------------
// The port command

TEST(PortCommandFromTheMenu, StartsWithDefaultsOpensAndClosesWithItsCheckMark) {
    LinkRig rig;
    rig.link.ReadSettings();
    EXPECT_EQ(rig.configText(), "8\n0\n0\nNone\nCom1\n115200\n1\n");
    EXPECT_EQ(rig.link.portState().m_nPortNumber, 1);
    EXPECT_EQ(rig.pane, "Setting : 115200, none, 8, 1");
    EXPECT_FALSE(rig.link.isCommandChecked(cmd::ID_PORT_OPEN_CLOSE));

    EXPECT_TRUE(rig.link.onCommand(cmd::ID_PORT_OPEN_CLOSE));
    EXPECT_EQ(rig.port.opened, std::vector<std::string>{"COM1"});
    EXPECT_EQ(rig.platform.status.last(), "Initialization of Port COM1 is successful.");
    EXPECT_TRUE(rig.link.isCommandChecked(cmd::ID_PORT_OPEN_CLOSE));
    EXPECT_FALSE(rig.link.isCommandChecked(cmd::ID_DOWNLOAD));

    rig.link.onCommand(cmd::ID_PORT_OPEN_CLOSE);
    EXPECT_EQ(rig.port.closes, 1);
    EXPECT_EQ(rig.platform.status.last(), "Port COM1 is closed.");
    EXPECT_FALSE(rig.link.isCommandChecked(cmd::ID_PORT_OPEN_CLOSE));
    EXPECT_TRUE(rig.platform.dialogs.messages().empty());
}

TEST(PortCommandFromTheMenu, FailureIsInTheStatusBarAndABox) {
    LinkRig rig;
    rig.link.ReadSettings();
    rig.port.open_result = false;
    rig.link.OnPortCommand();
    EXPECT_EQ(rig.platform.status.last(), "Failed initializing port.");
    EXPECT_EQ(rig.platform.dialogs.messageTexts(),
              std::vector<std::string>{"Failed initializing port.\nCOM1: it could not be opened."});
    EXPECT_FALSE(rig.link.isCommandChecked(cmd::ID_PORT_OPEN_CLOSE));
}

// ---------------------------------------------------------------------------
// The settings dialog

TEST(PortSettingsDialog, ShowsTheStoredTextsAndItsChoices) {
    LinkRig rig;
    writeConfig(rig, "7\n1\n2\nodd\ncom3\n9600\n1.5\n");
    rig.link.ReadSettings();
    rig.devices = {"/dev/ttyUSB0", "Com2"};
    bool ran = false;
    rig.platform.dialogs.scriptModal([&](ModalDialog& d, FakeDialogHost&, FakeForm& f) {
        ran = true;
        EXPECT_EQ(d.dialogId(), IDD_PORT_SETTINGS);
        // Found devices follow the four fixed ports; one already listed is not doubled.
        EXPECT_EQ(f.items(port::IDC_PORT),
                  (std::vector<std::string>{"Com1", "Com2", "Com3", "Com4", "/dev/ttyUSB0"}));
        EXPECT_EQ(f.selectedIndex(port::IDC_PORT), 2);  // "com3" begins "Com3"
        EXPECT_EQ(f.items(port::IDC_SPEED).size(), 16u);
        EXPECT_EQ(f.text(port::IDC_SPEED), "9600");
        EXPECT_EQ(f.text(port::IDC_PARITY), "Odd");
        EXPECT_EQ(f.text(port::IDC_DATA_BITS), "7");
        EXPECT_EQ(f.text(port::IDC_STOP_BITS), "1.5");
        EXPECT_TRUE(f.isChecked(port::IDC_ON));
        EXPECT_FALSE(f.isChecked(port::IDC_OFF));
        EXPECT_TRUE(f.isChecked(port::IDC_FLOW[2]));
        EXPECT_FALSE(f.isChecked(port::IDC_FLOW[0]));
    });
    rig.link.onCommand(cmd::ID_PORT_SETTINGS);
    EXPECT_TRUE(ran);
}

TEST(PortSettingsDialog, AStoredTextThatBeginsNoItemStandsInTheEditPart) {
    LinkRig rig;
    writeConfig(rig, "8\n0\n0\nNone\n/dev/pts/9\n12345\n1\n");
    rig.link.ReadSettings();
    rig.platform.dialogs.scriptModal([&](ModalDialog&, FakeDialogHost&, FakeForm& f) {
        EXPECT_EQ(f.selectedIndex(port::IDC_PORT), -1);
        EXPECT_EQ(f.text(port::IDC_PORT), "/dev/pts/9");
        EXPECT_EQ(f.selectedIndex(port::IDC_SPEED), -1);
        EXPECT_EQ(f.text(port::IDC_SPEED), "12345");
    });
    rig.link.OnPortSettings();
}

TEST(PortSettingsDialog, SaveWritesTheFileAndDerivesNumbers) {
    LinkRig rig;
    rig.link.ReadSettings();
    rig.platform.dialogs.scriptModal([&](ModalDialog& d, FakeDialogHost& h, FakeForm& f) {
        f.type(port::IDC_PORT, "COM3");
        f.setSelectedIndex(port::IDC_SPEED, 6);  // "9600"
        f.setSelectedIndex(port::IDC_PARITY, 0);
        f.setChecked(port::IDC_FLOW[0], false);
        f.setChecked(port::IDC_FLOW[3], true);
        f.setChecked(port::IDC_OFF, false);
        f.setChecked(port::IDC_ON, true);
        d.onEvent(h, {port::IDC_SAVE, EventKind::Clicked});
    });
    rig.link.OnPortSettings();
    EXPECT_EQ(rig.configText(), "8\n1\n3\nEven\nCOM3\n9600\n1\n");
    EXPECT_EQ(rig.link.portState().m_nPortNumber, 3);
    EXPECT_EQ(rig.link.portState().m_nBaudRate, 9600u);
    EXPECT_EQ(rig.pane, "Setting : 9600, even, 8, 1");
    rig.link.OnPortCommand();
    EXPECT_EQ(rig.port.opened, std::vector<std::string>{"COM3"});
}

TEST(PortSettingsDialog, CancelAndTheCloseBoxWriteNothing) {
    LinkRig rig;
    rig.link.ReadSettings();
    const std::string before = rig.configText();
    rig.pane.clear();
    rig.platform.dialogs.scriptModal([&](ModalDialog& d, FakeDialogHost& h, FakeForm& f) {
        f.type(port::IDC_PORT, "Com2");
        d.onEvent(h, {port::IDC_CANCEL, EventKind::Clicked});
    });
    rig.link.OnPortSettings();
    rig.platform.dialogs.scriptModal(
        [&](ModalDialog&, FakeDialogHost&, FakeForm& f) { f.type(port::IDC_SPEED, "300"); });
    rig.link.OnPortSettings();
    EXPECT_EQ(rig.configText(), before);
    EXPECT_EQ(rig.link.portState().settings, link::LinkSettings{});
    EXPECT_EQ(rig.link.portState().m_nPortNumber, 1);
    EXPECT_EQ(rig.pane, "");
}

// Values the port cannot use are refused by field; the dialog stays open and
// the settings in use, in memory and in config.ini, stay as they were until a
// usable value is saved.
TEST(PortSettingsDialog, UnusableValuesAreRefusedByFieldAndKeepTheOldSettings) {
    struct Case {
        ui::ControlId field;
        const char* text;
        const char* named;
    };
    const Case cases[] = {
        {port::IDC_SPEED, "0", "Speed"},           {port::IDC_SPEED, "-9600", "Speed"},
        {port::IDC_SPEED, "fast", "Speed"},        {port::IDC_SPEED, "", "Speed"},
        {port::IDC_SPEED, "99999999999", "Speed"}, {port::IDC_SPEED, "9600 ", "Speed"},
        {port::IDC_DATA_BITS, "4", "Data Bits"},   {port::IDC_DATA_BITS, "9", "Data Bits"},
        {port::IDC_DATA_BITS, "", "Data Bits"},    {port::IDC_PARITY, "Evens", "Parity"},
        {port::IDC_PARITY, "none", "Parity"},      {port::IDC_PARITY, "", "Parity"},
        {port::IDC_STOP_BITS, "3", "Stop Bits"},   {port::IDC_STOP_BITS, "1.50", "Stop Bits"},
        {port::IDC_PORT, "Com 2", "Port"},         {port::IDC_PORT, "", "Port"},
        {port::IDC_PORT, "/dev/tty USB0", "Port"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.named) + " \"" + c.text + "\"");
        LinkRig rig;
        rig.link.ReadSettings();
        const std::string before = rig.configText();
        bool stayed_open = false;
        ui::ControlId focus = 0;
        rig.platform.dialogs.scriptModal([&](ModalDialog& d, FakeDialogHost& h, FakeForm& f) {
            f.type(port::IDC_PORT, "Com2");
            f.type(c.field, c.text);
            d.onEvent(h, {port::IDC_SAVE, EventKind::Clicked});
            stayed_open = !h.result().has_value();
            focus = f.focus();
            d.onEvent(h, {port::IDC_CANCEL, EventKind::Clicked});
        });
        rig.link.OnPortSettings();
        EXPECT_TRUE(stayed_open);
        EXPECT_EQ(focus, c.field);
        ASSERT_EQ(rig.platform.dialogs.messages().size(), 1u);
        EXPECT_EQ(rig.platform.dialogs.messages()[0].text.rfind(c.named, 0), 0u)
            << rig.platform.dialogs.messages()[0].text;
        EXPECT_EQ(rig.configText(), before);
        EXPECT_EQ(rig.link.portState().settings, link::LinkSettings{});
        EXPECT_EQ(rig.link.portState().m_nPortNumber, 1);
    }
    // Corrected in the same dialog, it saves.
    LinkRig rig;
    rig.link.ReadSettings();
    rig.platform.dialogs.scriptModal([&](ModalDialog& d, FakeDialogHost& h, FakeForm& f) {
        f.type(port::IDC_SPEED, "0");
        d.onEvent(h, {port::IDC_SAVE, EventKind::Clicked});
        f.type(port::IDC_SPEED, "57600");
        d.onEvent(h, {port::IDC_SAVE, EventKind::Clicked});
    });
    rig.link.OnPortSettings();
    EXPECT_EQ(rig.link.portState().m_nBaudRate, 57600u);
    EXPECT_EQ(rig.configText(), "8\n0\n0\nNone\nCom1\n57600\n1\n");
}

TEST(PortSettings, OneAndAHalfStopBitsOnlyWhereThePortCanSendThem) {
    link::LinkSettings s;
    s.stop_bits = "1.5";
    EXPECT_FALSE(link::settingsProblem(s, true).has_value());
    const auto problem = link::settingsProblem(s, false);
    ASSERT_TRUE(problem.has_value());
    EXPECT_EQ(problem->field, port::IDC_STOP_BITS);
    for (const char* usable : {"1", "2"}) {
        s.stop_bits = usable;
        EXPECT_FALSE(link::settingsProblem(s, false).has_value());
    }
    // Every listed choice but data bits 4 is usable.
    for (const auto& speed : link::speedChoices()) {
        s.speed = speed;
        EXPECT_FALSE(link::settingsProblem(s).has_value()) << speed;
    }
}

TEST(PortSettingsDialog, AFileThatCannotBeWrittenIsReported) {
    LinkRig rig;
    rig.link.ReadSettings();
    std::filesystem::remove(rig.dir.path("config.ini"));
    std::filesystem::create_directory(rig.dir.path("config.ini"));  // in the way
    rig.platform.dialogs.scriptModal([&](ModalDialog& d, FakeDialogHost& h, FakeForm& f) {
        f.type(port::IDC_PORT, "Com2");
        d.onEvent(h, {port::IDC_SAVE, EventKind::Clicked});
    });
    rig.link.OnPortSettings();
    // Taken for this run, and the user is told it will not last.
    EXPECT_EQ(rig.link.portState().m_nPortNumber, 2);
    ASSERT_EQ(rig.platform.dialogs.messages().size(), 1u);
    EXPECT_NE(rig.platform.dialogs.messages()[0].text.find("config.ini"), std::string::npos);
}

}  // namespace
}  // namespace zoedit::test
