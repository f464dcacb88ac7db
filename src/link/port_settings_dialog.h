// The port settings dialog: the seven link settings in combo boxes and radio
// groups. Saving takes the texts as the user left them (typed or chosen).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "link/config_ini.h"
#include "ui/dialogs.h"

namespace zoedit::link {

// The fixed choices of each combo box, in list order.
const std::vector<std::string>& portChoices();
const std::vector<std::string>& speedChoices();
const std::vector<std::string>& dataBitsChoices();
const std::vector<std::string>& parityChoices();
const std::vector<std::string>& stopBitsChoices();

// Whether the serial ports of this platform can send 1.5 stop bits.
#if defined(_WIN32)
inline constexpr bool kOneAndHalfStopBitsUsable = true;
#else
inline constexpr bool kOneAndHalfStopBitsUsable = false;
#endif

// A value the port cannot use, named by its field.
struct SettingsProblem {
    ui::ControlId field;
    std::string message;
};

// The first setting the port cannot use: a port name that config.ini cannot
// keep (empty, with a blank, too long), a speed that is not a positive
// whole number, data bits outside 5 to 8, stop bits other than 1, 1.5 (where
// usable) and 2, a parity that is not one of the listed choices.
std::optional<SettingsProblem> settingsProblem(
    const LinkSettings& settings, bool one_and_half_usable = kOneAndHalfStopBitsUsable);

class CPortSettingsDlg : public ui::ModalDialog {
public:
    // `devices`: serial devices found on the machine, listed after the fixed
    // port choices so that an adapter can be picked by its path. `refuse`
    // shows why a value cannot be saved; the dialog then stays open.
    CPortSettingsDlg(const LinkSettings& current, std::vector<std::string> devices = {},
                     std::function<void(const std::string&)> refuse = {});

    int dialogId() const override;
    void onInitDialog(ui::DialogHost& host) override;
    void onEvent(ui::DialogHost& host, const ui::ControlEvent& event) override;

    // The values read back when the dialog ended with its save button.
    const LinkSettings& chosen() const { return m_chosen; }

private:
    void readBack(ui::Form& form);

    LinkSettings m_current;
    std::vector<std::string> m_devices;
    std::function<void(const std::string&)> m_refuse;
    LinkSettings m_chosen;
};

// Shows a stored text in a combo box: the first item that begins with it
// (ignoring case) is selected, else the text stands in the edit part.
void selectStoredText(ui::Form& form, ui::ControlId id, const std::string& text);

}  // namespace zoedit::link
