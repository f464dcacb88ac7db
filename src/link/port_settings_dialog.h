// The port settings dialog: the seven link settings in combo boxes and radio
// groups. Saving takes the texts as the user left them (typed or chosen).
#pragma once

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

class CPortSettingsDlg : public ui::ModalDialog {
public:
    // `devices`: serial devices found on the machine, listed after the fixed
    // port choices so that an adapter can be picked by its path.
    CPortSettingsDlg(const LinkSettings& current, std::vector<std::string> devices = {});

    int dialogId() const override;
    void onInitDialog(ui::DialogHost& host) override;
    void onEvent(ui::DialogHost& host, const ui::ControlEvent& event) override;

    // The values read back when the dialog ended with its save button.
    const LinkSettings& chosen() const { return m_chosen; }

private:
    void readBack(ui::Form& form);

    LinkSettings m_current;
    std::vector<std::string> m_devices;
    LinkSettings m_chosen;
};

// Shows a stored text in a combo box: the first item that begins with it
// (ignoring case) is selected, else the text stands in the edit part.
void selectStoredText(ui::Form& form, ui::ControlId id, const std::string& text);

}  // namespace zoedit::link
