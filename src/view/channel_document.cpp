#include "view/channel_document.h"

#include <memory>

namespace zoedit {

LoadResult ChannelDocument::load(const std::string& path, const std::string& source) {
    LoadResult result = loadChannelFile(source, m_db);
    if (!result.ok()) return result;
    m_path = path;
    m_history.clear();
    for (ChannelKind kind : {ChannelKind::Tv, ChannelKind::Radio}) {
        rows(kind).showFileOrder();
        rows(kind).setSortKey({});
    }
    return result;
}

edit::EditResult ChannelDocument::apply(const edit::EditOperation& operation,
                                        const edit::RowSelection& before,
                                        const edit::RowSelection& after) {
    return m_history.apply(m_db, operation, before, after);
}

edit::EditResult ChannelDocument::apply(std::span<const edit::EditOperation> operations,
                                        const std::string& name, const edit::RowSelection& before,
                                        const edit::RowSelection& after) {
    return m_history.apply(m_db, operations, name, before, after);
}

edit::EditResult ChannelDocument::undo(edit::RowSelection& selection) {
    return m_history.undo(m_db, selection);
}

edit::EditResult ChannelDocument::redo(edit::RowSelection& selection) {
    return m_history.redo(m_db, selection);
}

ChannelDocument::SaveOutcome ChannelDocument::save(std::span<const edit::EditOperation> operations,
                                                   const std::string& name,
                                                   std::optional<ChannelRef> shown,
                                                   const edit::RowSelection& before,
                                                   const edit::RowSelection& after,
                                                   const BackupStore& backups) {
    auto written = std::make_unique<ChannelDatabase>(m_db);
    for (const edit::EditOperation& operation : operations) {
        const edit::EditResult result =
            edit::applyOperation(*written, edit::TableCopy::Primary, operation);
        // The refusal names the value; the file stays as it was.
        if (!result.ok()) return {false, result.message};
    }
    int band_transponder = -1;
    if (shown && written->channels(shown->kind).contains(shown->index.value))
        band_transponder =
            written->channels(shown->kind).primary[shown->index.value].transponder_index;
    const SaveResult result =
        saveChannelFile(m_path, *written, SaveFolding{}, band_transponder, backups);
    if (!result.ok) return {false, result.message};

    // Written: the same step on the tables, then the values the file settled.
    if (!operations.empty()) m_history.apply(m_db, operations, name, before, after);
    m_db = std::move(*written);
    m_history.markSaved();
    return {true, {}, result.warning};
}

}  // namespace zoedit
