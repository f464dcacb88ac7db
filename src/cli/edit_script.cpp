#include "cli/edit_script.h"

#include <charconv>
#include <sstream>
#include <vector>

namespace zoedit::cli {
namespace {

using namespace edit;

// Reads the OP word by word; the rest of the text stays available for names.
class Words {
public:
    explicit Words(const std::string& text) : text_(text) {}

    bool next(std::string& word) {
        while (at_ < text_.size() && text_[at_] == ' ') ++at_;
        if (at_ >= text_.size()) return false;
        const std::size_t end = std::min(text_.find(' ', at_), text_.size());
        word = text_.substr(at_, end - at_);
        at_ = end;
        return true;
    }
    // The text after the single blank that ends the last word.
    std::string rest() {
        if (at_ < text_.size()) ++at_;
        std::string out = text_.substr(std::min(at_, text_.size()));
        at_ = text_.size();
        return out;
    }

private:
    const std::string& text_;
    std::size_t at_ = 0;
};

struct Reader {
    Words words;
    std::string error;

    bool word(const char* what, std::string& out) {
        if (words.next(out)) return true;
        if (error.empty()) error = std::string("missing ") + what;
        return false;
    }
    // A 1-based number, returned 0-based.
    bool number(const char* what, std::size_t& out) {
        std::string text;
        if (!word(what, text)) return false;
        std::size_t value = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (ec != std::errc() || end != text.data() + text.size()) {
            error = what + std::string(" '") + text + "' is not a number";
            return false;
        }
        if (value == 0) {
            error = what + std::string(" 0 is out of range: numbers start at 1");
            return false;
        }
        out = value - 1;
        return true;
    }
    bool kind(ChannelKind& out) {
        std::string text;
        if (!word("tv or radio", text)) return false;
        if (text == "tv" || text == "radio") {
            out = text == "tv" ? ChannelKind::Tv : ChannelKind::Radio;
            return true;
        }
        error = "'" + text + "' is neither tv nor radio";
        return false;
    }
    bool end() {
        std::string extra;
        if (!words.next(extra)) return true;
        error = "unexpected '" + extra + "'";
        return false;
    }
};

std::optional<ScriptStep> parseFavourite(Reader& in, CodePage page) {
    std::string verb;
    std::size_t group = 0;
    ChannelKind kind{};
    if (!in.word("what to do with the favourite group", verb)) return {};
    if (verb != "add" && verb != "remove" && verb != "move" && verb != "rename" &&
        verb != "clear") {
        in.error = "unknown favourite operation '" + verb + "'";
        return {};
    }
    if (!in.number("group number", group)) return {};
    if (verb == "rename")
        return EditOperation{RenameFavouriteGroup{group, fromUtf8(in.words.rest(), page)}};
    if (!in.kind(kind)) return {};
    if (verb == "clear") {
        if (!in.end()) return {};
        return EditOperation{ClearFavouriteGroup{group, kind}};
    }
    std::size_t first = 0, second = 0;
    if (verb == "move") {
        if (!in.number("place FROM", first) || !in.number("place TO", second) || !in.end())
            return {};
        return EditOperation{MoveFavourite{group, kind, first + 1, second + 1}};
    }
    if (!in.number("channel number", first)) return {};
    if (verb == "remove") {
        if (!in.end()) return {};
        return EditOperation{RemoveFavourite{group, kind, first, {}}};
    }
    std::string at;
    std::optional<std::size_t> position;
    if (in.words.next(at)) {
        if (at != "at") {
            in.error = "unexpected '" + at + "'";
            return {};
        }
        if (!in.number("place P", second) || !in.end()) return {};
        position = second + 1;
    }
    return EditOperation{AddFavourite{group, kind, first, position}};
}

std::optional<ScriptStep> parse(Reader& in, CodePage page) {
    std::string verb;
    if (!in.word("an operation", verb)) return {};
    if (verb == "undo" || verb == "redo") {
        if (!in.end()) return {};
        return verb == "undo" ? ScriptStep{UndoStep{}} : ScriptStep{RedoStep{}};
    }
    if (verb == "fav") return parseFavourite(in, page);
    ChannelKind kind{};
    std::size_t first = 0, second = 0;
    if (verb == "delete") {
        std::string what;
        if (!in.word("tv, radio, transponder or satellite", what)) return {};
        if (what == "transponder" || what == "satellite") {
            if (!in.number(what == "transponder" ? "transponder number" : "satellite number",
                           first) ||
                !in.end())
                return {};
            return what == "transponder" ? EditOperation{DeleteTransponder{first}}
                                         : EditOperation{DeleteSatellite{first}};
        }
        if (what != "tv" && what != "radio") {
            in.error = "'" + what + "' is not tv, radio, transponder or satellite";
            return {};
        }
        kind = what == "tv" ? ChannelKind::Tv : ChannelKind::Radio;
        if (!in.number("channel number", first) || !in.end()) return {};
        return EditOperation{DeleteChannel{kind, first}};
    }
    if (verb == "move") {
        if (!in.kind(kind) || !in.number("channel number FROM", first) ||
            !in.number("channel number TO", second) || !in.end())
            return {};
        return EditOperation{MoveChannel{kind, first, second}};
    }
    if (verb == "rename") {
        if (!in.kind(kind) || !in.number("channel number", first)) return {};
        return RenameChannel{kind, first, fromUtf8(in.words.rest(), page)};
    }
    if (verb == "lock" || verb == "unlock") {
        if (!in.kind(kind) || !in.number("channel number", first) || !in.end()) return {};
        return EditOperation{SetChannelLock{kind, first, verb == "lock"}};
    }
    in.error = "unknown operation '" + verb + "'";
    return {};
}

}  // namespace

ParsedStep parseEditStep(const std::string& op, CodePage page) {
    Reader in{Words(op), {}};
    ParsedStep parsed;
    parsed.step = parse(in, page);
    if (!parsed.step) parsed.error = in.error;
    return parsed;
}

}  // namespace zoedit::cli
