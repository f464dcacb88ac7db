// The ten favourite check boxes of the channel page and the position label
// under each: the groups' names as captions, the selected channel's places in
// the groups, and the change a click asks for. The boxes never change the
// tables themselves: the view applies the change they describe.
#pragma once

#include <array>
#include <cstddef>
#include <optional>

#include "database/channel_database.h"
#include "database/codepage.h"
#include "ui/form.h"
#include "view/editor_state.h"

namespace zoedit {

// What a click on a box asks for: the selected channel enters group `group`
// at 1-based `position`, or leaves the place `position` it holds there.
struct FavouriteChange {
    enum class Action { Add, Remove };
    Action action = Action::Add;
    std::size_t group = 0;
    ChannelKind kind = ChannelKind::Tv;
    std::size_t channel = 0;  // index in the channel table of its kind
    std::size_t position = 0;
    bool operator==(const FavouriteChange&) const = default;
};

class FavouriteBoxes {
public:
    FavouriteBoxes(ui::Form& form, const ChannelDatabase& db) : m_form(form), m_db(db) {}

    // Captions are the names of the file's first ten groups; the boxes of
    // groups the file does not have show no caption.
    void setCaptions(CodePage page);
    // Enables the boxes of the groups the file has (the others stay
    // disabled: they would change groups that are never saved), or disables
    // all ten.
    void setEnabled(bool enabled);
    // Unchecked and "000" everywhere, nothing remembered of a channel (a
    // file is being opened).
    void clear();
    // The selection handler's part: unless a drag is under way, the channel
    // at `row` (its table index) is looked up in the groups, unless a cut is
    // pending; in every case the working counts follow the kind selected.
    void onSelection(ChannelKind kind, int row, const EditorState& state);

    // Box k was clicked; the form holds its new check state. `channel` is the
    // selected channel's table index, nullopt when none is selected. Returns
    // the change to make, or nullopt when the click changes nothing (a box
    // that already showed a place, or no selected channel; the box then shows
    // what it showed before).
    std::optional<FavouriteChange> onClick(int k, ChannelKind kind, std::optional<int> channel);
    // The change was made: a remembered place it used is spent.
    void changeApplied(const FavouriteChange& change);

    const std::array<FavouriteBox, kFavouriteBoxCount>& boxes() const { return m_boxes; }
    std::array<FavouriteBox, kFavouriteBoxCount>& boxes() { return m_boxes; }

private:
    std::size_t shownGroups() const;
    void show(int k);

    ui::Form& m_form;
    const ChannelDatabase& m_db;
    std::array<FavouriteBox, kFavouriteBoxCount> m_boxes;
};

}  // namespace zoedit
