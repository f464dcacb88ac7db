#include "view/record_delete.h"

#include "ui/resource_ids.h"
#include "view/view_messages.h"

namespace zoedit {

namespace {

void tell(ui::Dialogs& dialogs, const char* text) {
    dialogs.messageBox({text, ui::kAppTitle, ui::MessageButtons::Ok, ui::MessageIcon::None});
}

}  // namespace

std::optional<DeleteTarget> askDelete(ui::Dialogs& dialogs, const ChannelDatabase& db,
                                      const EditorState& state) {
    if (db.tv.count == 0 || db.transponders.count == 0 || db.satellites.count == 0) {
        tell(dialogs, messages::kNotDelete);
        return std::nullopt;
    }
    const ActiveList active = state.m_activeList;
    const int row = state.selectedRow(active);
    const ChannelKind kind = active == ActiveList::Radio ? ChannelKind::Radio : ChannelKind::Tv;
    // The transponder and satellite pages show the selected channel's: with
    // no channel selected they show nothing certain to delete.
    if (active == ActiveList::None || row < 0 ||
        static_cast<std::size_t>(row) >= db.channels(kind).count) {
        tell(dialogs, messages::kNoChannelSelected);
        return std::nullopt;
    }

    DeleteTarget target;
    target.page = static_cast<Page>(state.m_nCurrentPage);
    target.kind = kind;
    const char* question = messages::kDeleteChannelQuestion;
    switch (target.page) {
        case Page::Channel:
            target.index = static_cast<std::size_t>(row);
            break;
        case Page::Transponder:
            question = messages::kDeleteTransponderQuestion;
            target.index = static_cast<std::size_t>(state.m_nCurrentTransponder);
            if (!db.transponders.contains(target.index)) return std::nullopt;
            break;
        case Page::Satellite:
            question = messages::kDeleteSatelliteQuestion;
            if (state.m_nCurrentSatellite < 0) return std::nullopt;
            target.index = static_cast<std::size_t>(state.m_nCurrentSatellite);
            if (!db.satellites.contains(target.index)) return std::nullopt;
            break;
    }
    const ui::MessageAnswer answer = dialogs.messageBox(
        {question, ui::kQuestionCaption, ui::MessageButtons::YesNo, ui::MessageIcon::Exclamation});
    if (answer != ui::MessageAnswer::Yes) return std::nullopt;
    return target;
}

}  // namespace zoedit
