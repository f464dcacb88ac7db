#include "link/port_settings_dialog.h"

#include <cctype>
#include <string_view>

#include "link/port_settings.h"
#include "ui/combo_text.h"

namespace zoedit::link {

namespace {

using namespace ui::port;

int checkedIndex(const ui::Form& form, const ui::ControlId* ids, int count, int fallback) {
    for (int i = 0; i < count; ++i)
        if (form.isChecked(ids[i])) return i;
    return fallback;
}

}  // namespace

const std::vector<std::string>& portChoices() {
    static const std::vector<std::string> choices = {"Com1", "Com2", "Com3", "Com4"};
    return choices;
}

const std::vector<std::string>& speedChoices() {
    static const std::vector<std::string> choices = {
        "110",   "300",   "600",   "1200",  "2400",  "4800",   "9600",   "14400",
        "19200", "28800", "38400", "56000", "57600", "115200", "128000", "256000"};
    return choices;
}

const std::vector<std::string>& dataBitsChoices() {
    static const std::vector<std::string> choices = {"4", "5", "6", "7", "8"};
    return choices;
}

const std::vector<std::string>& parityChoices() {
    static const std::vector<std::string> choices = {"Even", "Odd", "None", "Mark", "Space"};
    return choices;
}

const std::vector<std::string>& stopBitsChoices() {
    static const std::vector<std::string> choices = {"1", "1.5", "2"};
    return choices;
}

void selectStoredText(ui::Form& form, ui::ControlId id, const std::string& text) {
    ui::selectComboText(form, id, text);
}

std::optional<SettingsProblem> settingsProblem(const LinkSettings& s, bool one_and_half_usable) {
    const auto listed = [](const std::vector<std::string>& choices, const std::string& text) {
        for (const std::string& c : choices)
            if (c == text) return true;
        return false;
    };
    // Kept for the next start as one word of config.ini: a name with a blank
    // would come back as two values and shift every later setting.
    if (!isStorableText(s.port)) {
        return SettingsProblem{IDC_PORT, "Port: \"" + s.port +
                                             "\" cannot be used; a port name is one word without "
                                             "blanks."};
    }
    const bool digits_only = !s.speed.empty() && s.speed.size() <= 10 &&
                             s.speed.find_first_not_of("0123456789") == std::string::npos;
    if (!digits_only || baudRateFrom(s.speed) == 0) {
        return SettingsProblem{IDC_SPEED, "Speed: \"" + s.speed +
                                              "\" is not a speed; enter a positive whole number "
                                              "of bits per second."};
    }
    if (!listed({"5", "6", "7", "8"}, s.data_bits)) {
        return SettingsProblem{IDC_DATA_BITS,
                               "Data Bits: \"" + s.data_bits + "\" cannot be used; choose 5 to 8."};
    }
    if (!listed(parityChoices(), s.parity)) {
        return SettingsProblem{IDC_PARITY, "Parity: \"" + s.parity +
                                               "\" is not known; choose Even, Odd, None, Mark "
                                               "or Space."};
    }
    if (s.stop_bits == "1.5" && !one_and_half_usable) {
        return SettingsProblem{IDC_STOP_BITS,
                               "Stop Bits: this computer's serial ports cannot send 1.5 stop "
                               "bits; choose 1 or 2."};
    }
    if (!listed(stopBitsChoices(), s.stop_bits)) {
        return SettingsProblem{IDC_STOP_BITS, "Stop Bits: \"" + s.stop_bits +
                                                  "\" cannot be used; choose 1, 1.5 or 2."};
    }
    return std::nullopt;
}

CPortSettingsDlg::CPortSettingsDlg(const LinkSettings& current, std::vector<std::string> devices,
                                   std::function<void(const std::string&)> refuse)
    : m_current(current),
      m_devices(std::move(devices)),
      m_refuse(std::move(refuse)),
      m_chosen(current) {}

int CPortSettingsDlg::dialogId() const {
    return ui::IDD_PORT_SETTINGS;
}

void CPortSettingsDlg::onInitDialog(ui::DialogHost& host) {
    ui::Form& form = host.form();
    std::vector<std::string> ports = portChoices();
    for (const std::string& device : m_devices) {
        bool listed = false;
        for (const std::string& p : ports) listed = listed || p == device;
        if (!listed) ports.push_back(device);
    }
    form.setItems(IDC_PORT, std::move(ports));
    form.setItems(IDC_SPEED, speedChoices());
    form.setItems(IDC_DATA_BITS, dataBitsChoices());
    form.setItems(IDC_PARITY, parityChoices());
    form.setItems(IDC_STOP_BITS, stopBitsChoices());

    selectStoredText(form, IDC_PORT, m_current.port);
    selectStoredText(form, IDC_SPEED, m_current.speed);
    selectStoredText(form, IDC_DATA_BITS, m_current.data_bits);
    selectStoredText(form, IDC_PARITY, m_current.parity);
    selectStoredText(form, IDC_STOP_BITS, m_current.stop_bits);

    form.setChecked(IDC_OFF, m_current.off_on == 0);
    form.setChecked(IDC_ON, m_current.off_on == 1);
    for (int i = 0; i < 4; ++i) form.setChecked(IDC_FLOW[i], m_current.flow_control == i);
}

void CPortSettingsDlg::onEvent(ui::DialogHost& host, const ui::ControlEvent& event) {
    if (event.kind != ui::EventKind::Clicked) return;
    if (event.id == IDC_SAVE) {
        readBack(host.form());
        // A value the port cannot use is not stored: the user corrects it
        // here, and the settings in use stay as they were until then.
        if (const auto problem = settingsProblem(m_chosen)) {
            m_chosen = m_current;
            if (m_refuse) m_refuse(problem->message);
            host.form().setFocus(problem->field);
            return;
        }
        host.endDialog(ui::IDOK);
    } else if (event.id == IDC_CANCEL) {
        host.endDialog(ui::IDCANCEL);
    }
}

void CPortSettingsDlg::readBack(ui::Form& form) {
    m_chosen.port = form.text(IDC_PORT);
    m_chosen.speed = form.text(IDC_SPEED);
    m_chosen.data_bits = form.text(IDC_DATA_BITS);
    m_chosen.parity = form.text(IDC_PARITY);
    m_chosen.stop_bits = form.text(IDC_STOP_BITS);
    const ui::ControlId off_on[2] = {IDC_OFF, IDC_ON};
    m_chosen.off_on = checkedIndex(form, off_on, 2, m_current.off_on);
    m_chosen.flow_control = checkedIndex(form, IDC_FLOW, 4, m_current.flow_control);
}

}  // namespace zoedit::link
