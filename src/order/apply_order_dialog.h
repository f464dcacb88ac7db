// The "Apply Order From..." dialog: how the open file's channels pair with a
// reference's (by identity, by name, unmatched on each side), the options of
// the step, and the unmatched channels themselves. It changes nothing: after
// OK its owner applies options() with plan() as one undo step.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "database/channel_database.h"
#include "order/apply_order.h"
#include "order/reference_file.h"
#include "ui/dialogs.h"

namespace zoedit::order {

class CApplyOrderDlg final : public ui::ModalDialog {
public:
    // `csv_list`: the list a CSV reference is first taken as.
    CApplyOrderDlg(const ChannelDatabase& open, ReferenceSource source, ChannelKind csv_list,
                   CodePage page, ui::Dialogs& dialogs);

    int dialogId() const override { return ui::IDD_APPLY_ORDER; }
    void onInitDialog(ui::DialogHost& host) override;
    void onEvent(ui::DialogHost& host, const ui::ControlEvent& event) override;

    // The choices on show; after OK, those to apply.
    const ApplyOrderOptions& options() const { return m_options; }
    const OrderMatch& match() const { return m_match; }
    // The step the options make of the match, or why there is none.
    OrderPlan plan() const;

    // The counts over the lists chosen.
    struct Counts {
        std::size_t by_identity = 0;
        std::size_t by_name = 0;
        std::size_t unmatched_open = 0;
        std::size_t unmatched_reference = 0;
    };
    Counts counts() const;

private:
    std::vector<ChannelKind> chosenLists() const;
    void rematch(ui::DialogHost& host);
    void show(ui::DialogHost& host);
    void readOptions(ui::DialogHost& host);

    const ChannelDatabase& m_open;
    ReferenceSource m_source;
    CodePage m_page;
    ui::Dialogs& m_dialogs;
    int m_listChoice = 0;  // the combo's index
    OrderReference m_reference;
    OrderMatch m_match;
    ApplyOrderOptions m_options;
};

}  // namespace zoedit::order
