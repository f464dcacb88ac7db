// zoedit-cli edit IN OUT OP...: applies edit operations in order through the
// editor's own operations and history, then saves OUT as the editor saves.
// Nothing is written unless every OP succeeds.
#include <iostream>
#include <memory>

#include "cli/cli_support.h"
#include "cli/command_registry.h"
#include "cli/edit_script.h"
#include "database/channel_file.h"
#include "edit/edit_history.h"

namespace zoedit::cli {
namespace {

struct EditOptions {
    std::string in;
    std::string out;
    std::vector<std::string> ops;
    CodePage page = CodePage::Windows1256;
};

edit::EditResult runStep(const ScriptStep& step, ChannelDatabase& db, edit::EditHistory& history) {
    edit::RowSelection ignored;
    if (std::holds_alternative<UndoStep>(step)) return history.undo(db, ignored);
    if (std::holds_alternative<RedoStep>(step)) return history.redo(db, ignored);
    if (const auto* rename = std::get_if<RenameChannel>(&step)) {
        const auto& table = db.channels(rename->kind);
        ChannelRecord values =
            table.contains(rename->row) ? table.primary[rename->row] : ChannelRecord{};
        setNameBytes(values.name, rename->name);
        return history.apply(db, edit::SetChannelFields{rename->kind, rename->row, values});
    }
    return history.apply(db, std::get<edit::EditOperation>(step));
}

void run(const EditOptions& options) {
    const auto file = loadForCommand(options.in);
    if (!file) return;
    ChannelDatabase& db = *file->db;
    edit::EditHistory history;
    for (std::size_t i = 0; i < options.ops.size(); ++i) {
        const std::string& op = options.ops[i];
        const ParsedStep parsed = parseEditStep(op, options.page);
        const std::string reason =
            parsed.step ? runStep(*parsed.step, db, history).message : parsed.error;
        if (!reason.empty()) {
            fail("OP " + std::to_string(i + 1) + " \"" + op + "\": " + reason);
            return;
        }
    }
    saveAsEditorDoes(options.out, db);
}

void addEditCommand(CLI::App& app) {
    auto options = std::make_shared<EditOptions>();
    auto* cmd = app.add_subcommand("edit", "Apply edit operations to a channel file and save it");
    cmd->add_option("IN", options->in, "Channel file to open")->required();
    cmd->add_option("OUT", options->out, "Where to save it (may be IN)")->required();
    cmd->add_option("OP", options->ops, "Operations, applied in order")->required();
    addCodePageOption(*cmd, options->page);
    cmd->footer(kEditGrammar);
    cmd->callback([options] { run(*options); });
}

const bool registered = registerCommand(&addEditCommand);

}  // namespace
}  // namespace zoedit::cli
