// The favourites dialog on the fake platform over a database whose first ten
// groups hold known entries, with every step the dialog hands over recorded.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "favourites/favourite_dialog.h"
#include "support/database_builder.h"
#include "support/fake_platform.h"

namespace zoedit::test {

using Members = std::vector<std::uint16_t>;

inline std::vector<ui::ControlId> favouriteLists() {
    std::vector<ui::ControlId> ids;
    for (int k = 0; k < kFavouriteDialogGroups; ++k) {
        ids.push_back(ui::favourites::IDC_TV_LIST[k]);
        ids.push_back(ui::favourites::IDC_RADIO_LIST[k]);
    }
    return ids;
}

// Replaces the entries of every group of one kind (both copies, as loading would).
inline void setMembers(ChannelDatabase& db, ChannelKind kind, const std::vector<Members>& groups) {
    auto& list = kind == ChannelKind::Tv ? db.favourites.tv_members : db.favourites.radio_members;
    Members flat;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        auto& group = db.favourites.groups[g];
        (kind == ChannelKind::Tv ? group.tv_count : group.radio_count) =
            static_cast<std::uint16_t>(groups[g].size());
        flat.insert(flat.end(), groups[g].begin(), groups[g].end());
    }
    list.reset(flat.size());
    std::copy(flat.begin(), flat.end(), list.primary.begin());
    std::copy(flat.begin(), flat.end(), list.working.begin());
}

class FavouriteDialogTest : public ::testing::Test {
protected:
    FavouriteDialogTest() {
        testing::DatabaseShape shape;
        shape.tv = 12;
        shape.radio = 6;
        shape.groups = std::vector<std::pair<std::size_t, std::size_t>>(11, {0, 0});
        db = testing::buildDatabase(shape);
        setMembers(
            db, ChannelKind::Tv,
            {{4, 9, 2}, {}, {1, 2, 3, 4, 5}, {7, 8}, {0}, {11, 10}, {}, {3}, {}, {6, 5}, {1}});
        setMembers(db, ChannelKind::Radio,
                   {{1}, {2, 3}, {}, {0, 5, 4}, {}, {1}, {}, {}, {2}, {3, 4}, {5}});
        for (std::size_t g = 0; g < 11; ++g)
            setNameBytes(db.favourites.groups[g].name, "Group " + std::to_string(g));
    }

    void open() {
        FavouriteEdits edits;
        edits.apply = [this](std::span<const edit::EditOperation> step) {
            steps.emplace_back(step.begin(), step.end());
            for (const auto& operation : step) {
                auto result = edit::applyOperation(db, edit::TableCopy::Primary, operation);
                if (!result.ok()) return result;
            }
            return edit::EditResult::done();
        };
        form = std::make_unique<FakeForm>(favouriteLists());
        host = std::make_unique<FakeDialogHost>(*form);
        dialog = std::make_unique<CFavoriteDlg>(db, CodePage::Windows1252, dialogs, memory,
                                                std::move(edits));
        dialog->onInitDialog(*host);
    }

    void send(ui::ControlId id, ui::EventKind kind, int item = -1, int from = -1) {
        ui::ControlEvent event{id, kind, item, 0, 0};
        event.from = from;
        dialog->onEvent(*host, event);
    }
    void click(ui::ControlId id) { send(id, ui::EventKind::Clicked); }
    // The user types a new name into edit k and leaves it.
    void rename(int k, const std::string& name) {
        send(ui::favourites::IDC_GROUP_NAME[k], ui::EventKind::SetFocus);
        form->type(ui::favourites::IDC_GROUP_NAME[k], name);
        send(ui::favourites::IDC_GROUP_NAME[k], ui::EventKind::KillFocus);
    }
    // A drag of row `from` of a list released over row `onto` of a list (-1: below the rows).
    void drag(ui::ControlId list, int from, int onto, ui::ControlId drop_list = 0) {
        send(list, ui::EventKind::BeginDrag, from);
        send(drop_list ? drop_list : list, ui::EventKind::Drop, onto, from);
    }

    Members members(std::size_t g, ChannelKind kind) const {
        const auto span = db.groupMembers(g, kind);
        return {span.begin(), span.end()};
    }
    std::vector<std::string> texts(ui::ControlId list) {
        std::vector<std::string> out;
        for (const auto& row : form->fakeList(list).rows()) out.push_back(row.texts.at(0));
        return out;
    }
    std::string channelName(ChannelKind kind, std::size_t i) const {
        return nameBytes(db.channels(kind).primary[i].name);
    }
    // The texts a group's list must show: "%.3d name", in group order.
    std::vector<std::string> expectedTexts(std::size_t g, ChannelKind kind) const {
        std::vector<std::string> out;
        const Members m = members(g, kind);
        for (std::size_t i = 0; i < m.size(); ++i) {
            char number[24];
            std::snprintf(number, sizeof number, "%03zu", i + 1);
            out.push_back(std::string(number) + " " + channelName(kind, m[i]));
        }
        return out;
    }

    ChannelDatabase db;
    FakeDialogs dialogs;
    FavouriteDialogMemory memory;
    std::vector<std::vector<edit::EditOperation>> steps;
    std::unique_ptr<FakeForm> form;
    std::unique_ptr<FakeDialogHost> host;
    std::unique_ptr<CFavoriteDlg> dialog;
};

}  // namespace zoedit::test
