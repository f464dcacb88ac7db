// Finding a channel by its name in the list on show: the search dialog and
// the comparison. The match is on the whole name, whatever the letter case.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ui/dialogs.h"
#include "ui/list_control.h"

namespace zoedit {

// Dialog 194: one edit for the name and one OK button; closing it cancels.
class CSearchDlg : public ui::ModalDialog {
public:
    int dialogId() const override;
    void onInitDialog(ui::DialogHost& host) override;
    void onEvent(ui::DialogHost& host, const ui::ControlEvent& event) override;

    // The name typed, read when the dialog ended with OK.
    const std::string& searchText() const { return m_text; }

private:
    std::string m_text;
};

// Whether two names are equal once both are in capitals (UTF-8 texts; the
// letters of the ASCII and Latin-1 ranges have capitals).
bool sameNameIgnoringCase(std::string_view a, std::string_view b);

// The last row, first row included, whose "Channel Name" equals `name`
// regardless of case; nullopt when none does. An empty name finds only
// channels without a name.
std::optional<int> findChannelRow(const ui::ListControl& list, std::string_view name);

}  // namespace zoedit
