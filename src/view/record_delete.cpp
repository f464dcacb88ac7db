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
                                      const DeleteSubject& subject) {
    if (db.tv.count == 0 || db.transponders.count == 0 || db.satellites.count == 0) {
        tell(dialogs, messages::kNotDelete);
        return std::nullopt;
    }
    // The transponder and satellite pages show the selected channel's: with
    // no channel selected they show nothing certain to delete.
    if (!subject.channel) {
        tell(dialogs, messages::kNoChannelSelected);
        return std::nullopt;
    }

    DeleteTarget target;
    target.page = subject.page;
    target.kind = subject.channel->kind;
    const char* question = messages::kDeleteChannelQuestion;
    switch (target.page) {
        case Page::Channel:
            target.index = subject.channel->index.value;
            break;
        case Page::Transponder:
            question = messages::kDeleteTransponderQuestion;
            if (!subject.transponder) return std::nullopt;
            target.index = *subject.transponder;
            break;
        case Page::Satellite:
            question = messages::kDeleteSatelliteQuestion;
            if (!subject.satellite) return std::nullopt;
            target.index = *subject.satellite;
            break;
    }
    const ui::MessageAnswer answer = dialogs.messageBox(
        {question, ui::kQuestionCaption, ui::MessageButtons::YesNo, ui::MessageIcon::Exclamation});
    if (answer != ui::MessageAnswer::Yes) return std::nullopt;
    return target;
}

}  // namespace zoedit
