// File menu "Apply Order From..." and "Compare With...": a reference file's
// order given to the open file as one step, and what changed since another
// file, with its channels one double click away in the main list.
#include <algorithm>
#include <memory>

#include "database/channel_file.h"
#include "order/apply_order_dialog.h"
#include "order/compare_dialog.h"
#include "view/zoedit_view.h"

namespace zoedit {

namespace {

constexpr char kReferenceFilter[] =
    "Channel files (*.bin;*.sgn)|*.bin;*.sgn|CSV of one list (*.csv)|*.csv|All Files(*.*)|*.*|";
constexpr char kCompareFilter[] = "Channel files (*.bin;*.sgn)|*.bin;*.sgn|All Files(*.*)|*.*|";

}  // namespace

void CZoEditView::OnApplyOrder() {
    if (!isCommandEnabled(ui::cmd::ID_FILE_APPLY_ORDER)) return;
    // The new order renumbers the channels and shows the pages anew: typing
    // on them is settled first.
    if (!ResolveTyping() || !isCommandEnabled(ui::cmd::ID_FILE_APPLY_ORDER)) return;
    ui::FileDialogRequest request;
    request.title = "Apply Order From";
    request.filter = kReferenceFilter;
    const auto path = m_platform.dialogs.fileDialog(request);
    if (!path) return;
    order::ReadReferenceSource read = order::readReferenceSource(*path);
    if (!read.source) return messageBox(read.error);

    const ChannelKind shown =
        m_state.m_shownList == ActiveList::Radio ? ChannelKind::Radio : ChannelKind::Tv;
    order::CApplyOrderDlg dialog(m_doc.database(), std::move(*read.source), shown, m_codePage,
                                 m_platform.dialogs);
    if (m_platform.dialogs.runModal(dialog) != ui::IDOK) return;
    const order::OrderPlan plan = dialog.plan();
    if (!plan.operation) return messageBox(plan.refusal);

    // Each list's selected channel goes with it to its new place.
    edit::RowSelection after = rowSelection();
    for (const edit::ListOrderPlan& list : plan.operation->plan.lists) {
        int& channel = list.kind == ChannelKind::Tv ? after.tv_row : after.radio_row;
        if (channel < 0) continue;
        const auto at =
            std::find(list.order.begin(), list.order.end(), static_cast<std::size_t>(channel));
        channel = at == list.order.end() ? -1 : static_cast<int>(at - list.order.begin());
    }
    if (!ApplyEdit(*plan.operation, after).ok()) return;
    for (ChannelKind kind : {ChannelKind::Tv, ChannelKind::Radio}) {
        const int channel = kind == ChannelKind::Tv ? after.tv_row : after.radio_row;
        m_state.selectedRowOf(kind) =
            channel < 0
                ? Row()
                : rows(kind).rowOf(ChannelIndex(static_cast<std::size_t>(channel))).value_or(Row());
    }
    RefreshAndReselect();
}

void CZoEditView::OnCompare() {
    if (!isCommandEnabled(ui::cmd::ID_FILE_COMPARE)) return;
    ui::FileDialogRequest request;
    request.title = "Compare With";
    request.filter = kCompareFilter;
    const auto path = m_platform.dialogs.fileDialog(request);
    if (!path) return;
    auto other = std::make_unique<ChannelDatabase>();
    const LoadResult loaded = loadChannelFile(*path, *other);
    if (!loaded.ok()) {
        std::string message = loaded.status == LoadStatus::CannotOpen
                                  ? "Cannot open " + *path + ": " + loaded.reason
                                  : std::string();
        for (const std::string& line : loaded.messages)
            message += (message.empty() ? "" : "\n") + line;
        return messageBox(message);
    }
    order::CCompareDlg dialog(*other, m_doc.database(), *path, m_codePage,
                              [this](ChannelKind kind, std::size_t index) {
                                  SelectChannel({kind, ChannelIndex(index)});
                              });
    m_platform.dialogs.runModal(dialog);
}

// The list of the channel's kind comes on show, with the row that shows the
// channel selected, whatever order the list is in.
void CZoEditView::SelectChannel(ChannelRef channel) {
    const auto row = rows(channel.kind).rowOf(channel.index);
    if (!row) return;
    if (m_state.m_shownList != listOfKind(channel.kind)) ShowList(channel.kind);
    SelectRow(channel.kind, *row);
}

}  // namespace zoedit
