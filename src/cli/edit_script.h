// The operations of `zoedit-cli edit`, one argument each: words separated by
// blanks, numbers 1-based as the editor shows them.
#pragma once

#include <string>
#include <variant>

#include "database/codepage.h"
#include "edit/edit_operation.h"

namespace zoedit::cli {

inline constexpr char kEditGrammar[] =
    "Each OP is one argument (quote it), numbers 1-based as the editor shows them:\n"
    "  delete tv|radio N            delete transponder N         delete satellite N\n"
    "  move tv|radio FROM TO        the channel numbered FROM ends up numbered TO\n"
    "  rename tv|radio N NAME...    lock tv|radio N              unlock tv|radio N\n"
    "  fav add G tv|radio N [at P]  fav remove G tv|radio N      fav move G tv|radio FROM TO\n"
    "  fav rename G NAME...         fav clear G tv|radio         undo                 redo\n"
    "G is a favourite group from 1 to the file's group count; FROM, TO and P after fav\n"
    "are places in the group. NAME is the rest of the OP, blanks kept, possibly empty.\n";

struct UndoStep {};
struct RedoStep {};
// A channel rename needs the channel's other fields, known only when it runs.
struct RenameChannel {
    ChannelKind kind;
    std::size_t row;
    std::string name;  // bytes in the file's code page
};

using ScriptStep = std::variant<edit::EditOperation, RenameChannel, UndoStep, RedoStep>;

struct ParsedStep {
    std::optional<ScriptStep> step;
    std::string error;  // why the OP is not understood, when there is no step
};

ParsedStep parseEditStep(const std::string& op, CodePage page);

}  // namespace zoedit::cli
