// zoedit-cli diff A B: what changed from A to B. Channels are paired as
// apply-order pairs them; exit status 0 when the two hold the same records in
// the same order, 1 when anything differs, 2 when a file is refused.
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/cli_support.h"
#include "cli/command_registry.h"
#include "database/field_format.h"
#include "order/channel_diff.h"
#include "order/diff_text.h"

namespace zoedit::cli {
namespace {

constexpr int kDiffers = 1;
constexpr int kRefused = 2;

enum class Lists { Tv, Radio, Both };
enum class Format { Text, Json };

struct DiffCliOptions {
    std::string before;
    std::string after;
    Lists lists = Lists::Both;
    Format format = Format::Text;
    CodePage page = CodePage::Windows1256;
};

const char* listKey(ChannelKind kind) {
    return kind == ChannelKind::Tv ? "tv" : "radio";
}

void printText(const order::DatabaseDiff& diff, const ChannelDatabase& a, const ChannelDatabase& b,
               CodePage page) {
    for (const order::ListDiff& list : diff.lists) {
        std::cout << (list.kind == ChannelKind::Tv ? "TV" : "radio") << ":";
        const char* separator = " ";
        for (order::DiffKind kind : order::kDiffKinds) {
            order::DatabaseDiff one;
            one.lists = {list};
            std::cout << separator << order::diffCount(one, kind) << ' '
                      << order::diffKindWord(kind);
            separator = ", ";
        }
        std::cout << " (paired " << list.by_identity << " by identity, " << list.by_name
                  << " by name)\n";
    }
    for (order::DiffKind kind : order::kDiffKinds)
        for (const order::DiffRow& row : order::diffRows(diff, kind, a, b, page)) {
            std::cout << order::diffKindWord(kind) << ' ' << order::rowNumbersText(row) << " \""
                      << row.name << '"';
            if (!row.details.empty())
                std::cout << (kind == order::DiffKind::Renamed ? " " : ": ") << row.details;
            std::cout << '\n';
        }
    std::cout << "satellites: " << order::recordCountsText(diff.satellites) << '\n'
              << "transponders: " << order::recordCountsText(diff.transponders) << '\n'
              << "favourite groups: " << diff.groups.size() << " changed\n";
    for (const std::string& line : order::recordLines(diff, a, b, page)) std::cout << line << '\n';
    std::cout << (diff.same ? "The files hold the same records in the same order.\n"
                            : "The files differ.\n");
}

nlohmann::json channelJson(const ChannelDatabase& db, ChannelKind kind, std::size_t index,
                           CodePage page) {
    // A favourite entry may name a channel outside its table: no name then.
    const auto& table = db.channels(kind);
    return {{"number", index + 1},
            {"name", index < table.count ? nameUtf8(table.primary[index].name, page) : ""}};
}

nlohmann::json pairJson(const ChannelDatabase& a, const ChannelDatabase& b, ChannelKind kind,
                        const order::RecordPair& pair, CodePage page) {
    return {{"before", pair.before + 1},
            {"after", pair.after + 1},
            {"old_name", nameUtf8(a.channels(kind).primary[pair.before].name, page)},
            {"name", nameUtf8(b.channels(kind).primary[pair.after].name, page)}};
}

// Records by their 1-based number in their table and their text.
nlohmann::json recordsJson(const order::RecordDiff& diff,
                           const std::function<std::string(bool after, std::size_t)>& text) {
    const auto one = [&](bool after, std::size_t index) {
        return nlohmann::json{{"number", index + 1}, {"text", text(after, index)}};
    };
    nlohmann::json added = nlohmann::json::array(), removed = nlohmann::json::array(),
                   changed = nlohmann::json::array();
    for (std::size_t i : diff.added) added.push_back(one(true, i));
    for (std::size_t i : diff.removed) removed.push_back(one(false, i));
    for (const auto& p : diff.changed)
        changed.push_back({{"before", one(false, p.before)}, {"after", one(true, p.after)}});
    return {{"added", added},
            {"removed", removed},
            {"changed", changed},
            {"reordered", diff.reordered}};
}

nlohmann::json sideJson(const order::GroupSideDiff& side, const ChannelDatabase& a,
                        const ChannelDatabase& b, ChannelKind kind, CodePage page) {
    nlohmann::json added = nlohmann::json::array(), removed = nlohmann::json::array();
    for (std::size_t c : side.added) added.push_back(channelJson(b, kind, c, page));
    for (std::size_t c : side.removed) removed.push_back(channelJson(a, kind, c, page));
    return {{"added", added}, {"removed", removed}, {"reordered", side.reordered}};
}

void printJson(const order::DatabaseDiff& diff, const ChannelDatabase& a, const ChannelDatabase& b,
               CodePage page) {
    nlohmann::json out;
    out["same"] = diff.same;
    out["lists"] = nlohmann::json::object();
    for (const order::ListDiff& list : diff.lists) {
        const ChannelKind kind = list.kind;
        nlohmann::json l;
        l["paired_by_identity"] = list.by_identity;
        l["paired_by_name"] = list.by_name;
        l["added"] = nlohmann::json::array();
        for (std::size_t c : list.added) l["added"].push_back(channelJson(b, kind, c, page));
        l["removed"] = nlohmann::json::array();
        for (std::size_t c : list.removed) l["removed"].push_back(channelJson(a, kind, c, page));
        l["moved"] = nlohmann::json::array();
        for (const auto& p : list.moved) l["moved"].push_back(pairJson(a, b, kind, p, page));
        l["renamed"] = nlohmann::json::array();
        for (const auto& p : list.renamed) l["renamed"].push_back(pairJson(a, b, kind, p, page));
        l["changed"] = nlohmann::json::array();
        for (const auto& c : list.changed) {
            nlohmann::json entry = pairJson(a, b, kind, c.pair, page);
            entry["fields"] = nlohmann::json::array();
            for (const auto& f : c.fields)
                entry["fields"].push_back({{"field", order::fieldName(f.field)},
                                           {"before", f.before},
                                           {"after", f.after}});
            l["changed"].push_back(std::move(entry));
        }
        out["lists"][listKey(kind)] = std::move(l);
    }
    out["satellites"] = recordsJson(diff.satellites, [&](bool after, std::size_t s) {
        return order::satelliteText(after ? b : a, s, page);
    });
    out["transponders"] = recordsJson(diff.transponders, [&](bool after, std::size_t t) {
        return order::transponderText(after ? b : a, t);
    });
    out["favourite_groups"] = nlohmann::json::array();
    for (const order::GroupDiff& g : diff.groups) {
        nlohmann::json group = {{"group", g.group + 1}};
        group["before_name"] =
            g.before_name ? nlohmann::json(toUtf8(*g.before_name, page)) : nlohmann::json();
        group["after_name"] =
            g.after_name ? nlohmann::json(toUtf8(*g.after_name, page)) : nlohmann::json();
        for (const order::ListDiff& list : diff.lists)
            group[listKey(list.kind)] =
                sideJson(list.kind == ChannelKind::Tv ? g.tv : g.radio, a, b, list.kind, page);
        out["favourite_groups"].push_back(std::move(group));
    }
    std::cout << out.dump(2) << '\n';
}

void run(const DiffCliOptions& options) {
    const auto a = loadForCommand(options.before);
    const auto b = a ? loadForCommand(options.after) : std::nullopt;
    if (!a || !b) {
        exitStatus() = kRefused;
        return;
    }
    order::DiffOptions diff_options;
    diff_options.page = options.page;
    if (options.lists == Lists::Tv) diff_options.lists = {ChannelKind::Tv};
    if (options.lists == Lists::Radio) diff_options.lists = {ChannelKind::Radio};
    const order::DatabaseDiff diff = order::diffDatabases(*a->db, *b->db, diff_options);
    if (options.format == Format::Json)
        printJson(diff, *a->db, *b->db, options.page);
    else
        printText(diff, *a->db, *b->db, options.page);
    exitStatus() = diff.same ? 0 : kDiffers;
}

void addDiffCommand(CLI::App& app) {
    auto options = std::make_shared<DiffCliOptions>();
    auto* cmd = app.add_subcommand(
        "diff", "What changed from channel file A to B (exit 0 same, 1 different, 2 refused)");
    cmd->add_option("A", options->before, "The earlier channel file")->required();
    cmd->add_option("B", options->after, "The later channel file")->required();
    const std::map<std::string, Lists> lists = {
        {"tv", Lists::Tv}, {"radio", Lists::Radio}, {"both", Lists::Both}};
    cmd->add_option("--list", options->lists, "The channel lists to compare (default both)")
        ->transform(CLI::CheckedTransformer(lists));
    const std::map<std::string, Format> formats = {{"text", Format::Text}, {"json", Format::Json}};
    cmd->add_option("--format", options->format, "text (default) or json")
        ->transform(CLI::CheckedTransformer(formats));
    addCodePageOption(*cmd, options->page);
    cmd->callback([options] { run(*options); });
}

const bool registered = registerCommand(&addDiffCommand);

}  // namespace
}  // namespace zoedit::cli
