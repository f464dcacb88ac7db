// What the list operations need of the form they work in, and no more: the
// user-interface layer, the editor's state, the tables to read, the lists'
// row maps, and the few commands a list operation ends with.
#pragma once

#include <optional>

#include "database/channel_database.h"
#include "database/codepage.h"
#include "edit/edit_history.h"
#include "edit/edit_operation.h"
#include "ui/platform.h"
#include "view/editor_state.h"
#include "view/row_map.h"

namespace zoedit {

// After the records changed: Show also shows the pages anew, Keep leaves
// their texts alone (a click on the lock or a box changed the record they
// already show, and typing on them waits for Save).
enum class PageRefresh { Show, Keep };

class ListOperationsHost {
public:
    virtual ui::Platform& platform() = 0;
    virtual EditorState& state() = 0;
    virtual const ChannelDatabase& database() const = 0;
    virtual RowMap& rows(ChannelKind kind) = 0;
    virtual bool isSorted() const = 0;
    virtual CodePage codePage() const = 0;
    virtual std::optional<ChannelRef> selectedChannel() const = 0;
    virtual std::optional<ChannelIndex> selectedChannel(ChannelKind kind) const = 0;

    // Typing on the pages is settled before a list operation shows them anew.
    virtual bool ResolveTyping() = 0;
    virtual edit::RowSelection rowSelection() const = 0;
    virtual edit::EditResult ApplyEdit(const edit::EditOperation& operation,
                                       const edit::RowSelection& after) = 0;
    virtual void RefreshAndReselect(bool row_deleted = false) = 0;
    virtual void FillList(ChannelKind kind) = 0;
    virtual void ShowRecords(PageRefresh pages = PageRefresh::Show) = 0;
    virtual void ListChangeDone() = 0;
    virtual void OnNew() = 0;

protected:
    ~ListOperationsHost() = default;
};

}  // namespace zoedit
