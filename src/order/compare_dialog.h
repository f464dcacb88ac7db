// The "Compare With..." dialog: what changed from another file to the open
// document, one tab each for the added, removed, moved, renamed and changed
// channels with its count, each list sortable by a click on a heading. A
// double click on a channel that the open document holds hands it to the
// owner, which selects it in the main list.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "database/channel_database.h"
#include "order/channel_diff.h"
#include "order/diff_text.h"
#include "ui/dialogs.h"

namespace zoedit::order {

class CCompareDlg final : public ui::ModalDialog {
public:
    using SelectChannel = std::function<void(ChannelKind kind, std::size_t index)>;

    // `other` is the earlier state, `open` the document as it is now.
    CCompareDlg(const ChannelDatabase& other, const ChannelDatabase& open, std::string other_path,
                CodePage page, SelectChannel select);

    int dialogId() const override { return ui::IDD_COMPARE; }
    void onInitDialog(ui::DialogHost& host) override;
    void onEvent(ui::DialogHost& host, const ui::ControlEvent& event) override;

    const DatabaseDiff& diff() const { return m_diff; }
    DiffKind tab() const { return kDiffKinds[m_tab]; }
    // The entry a row of the list shows now.
    const DiffRow* rowAt(int row) const;

    // Columns of the list.
    enum Column { List = 0, Before = 1, After = 2, Name = 3, Details = 4 };

private:
    void fill(ui::DialogHost& host);
    void sortBy(int column);

    const ChannelDatabase& m_other;
    const ChannelDatabase& m_open;
    std::string m_path;
    CodePage m_page;
    SelectChannel m_select;
    DatabaseDiff m_diff;
    std::array<std::vector<DiffRow>, kDiffKinds.size()> m_rows;
    struct Sort {
        int column = -1;
        bool ascending = true;
    };
    std::array<Sort, kDiffKinds.size()> m_sort;
    std::size_t m_tab = 0;
};

}  // namespace zoedit::order
