// zoedit-cli apply-order REF IN OUT: the order (and, when asked, the names,
// locks and favourite groups) of a reference applied to IN as the editor's
// one "Apply Order" step, saved to OUT as the editor saves. REF is a channel
// file or the CSV of one list. Nothing is written when REF or IN is refused.
#include <iostream>
#include <map>
#include <memory>

#include "cli/cli_support.h"
#include "cli/command_registry.h"
#include "database/channel_file.h"
#include "database/field_format.h"
#include "order/apply_order.h"
#include "order/reference_file.h"

namespace zoedit::cli {
namespace {

struct ApplyOrderCliOptions {
    std::string ref;
    std::string in;
    std::string out;
    std::optional<ChannelKind> list;
    bool names = false;
    bool locks = false;
    bool favourites = false;
    order::UnmatchedPlace unmatched = order::UnmatchedPlace::Last;
    CodePage page = CodePage::Windows1256;
};

std::optional<order::OrderReference> loadReference(const ApplyOrderCliOptions& options) {
    const order::ReadReferenceSource read = order::readReferenceSource(options.ref);
    if (!read.source) {
        fail(read.error);
        return std::nullopt;
    }
    order::ReferenceResult result =
        order::referenceOf(*read.source, options.list.value_or(ChannelKind::Tv), options.page);
    if (!result.reference) fail(result.error);
    return std::move(result.reference);
}

void printList(ChannelKind kind, const order::ListMatch& match,
               const order::OrderReference& reference, const ApplyOrderCliOptions& options) {
    const char* word = kind == ChannelKind::Tv ? "TV" : "radio";
    std::cout << word << ": " << match.by_identity << " by identity, " << match.by_name
              << " by name, " << match.unmatched << " unmatched ("
              << (options.unmatched == order::UnmatchedPlace::Last ? "placed last" : "placed first")
              << "); " << match.missing.size() << " reference channels missing\n";
    const auto& rows = *reference.list(kind);
    for (std::size_t i : match.missing)
        std::cout << "missing " << word << ' ' << channelNumberText(i + 1) << ' '
                  << toUtf8(rows[i].name, options.page) << '\n';
}

void run(const ApplyOrderCliOptions& options) {
    const auto reference = loadReference(options);
    if (!reference) return;
    const auto file = loadForCommand(options.in);
    if (!file) return;
    ChannelDatabase& db = *file->db;

    order::ApplyOrderOptions apply;
    if (options.list) apply.lists = {*options.list};
    apply.names = options.names;
    apply.locks = options.locks;
    apply.favourites = options.favourites;
    apply.unmatched = options.unmatched;
    apply.page = options.page;
    edit::EditHistory history;
    const order::AppliedOrder applied = order::applyOrder(db, history, *reference, apply);
    if (!applied.result.ok()) {
        fail(applied.result.message);
        return;
    }
    for (ChannelKind kind : {ChannelKind::Tv, ChannelKind::Radio}) {
        const bool applied_to = apply.lists.empty() || apply.lists.front() == kind;
        if (applied_to && applied.match.list(kind))
            printList(kind, *applied.match.list(kind), *reference, options);
    }
    if (options.favourites)
        std::cout << "favourite groups: " << db.favouriteGroupCount() << ", with "
                  << db.favourites.tv_members.count << " TV and "
                  << db.favourites.radio_members.count << " radio entries\n";
    saveAsEditorDoes(options.out, db);
}

void addApplyOrderCommand(CLI::App& app) {
    auto options = std::make_shared<ApplyOrderCliOptions>();
    auto* cmd = app.add_subcommand(
        "apply-order", "Give a channel file the order of another list (a channel file or a CSV)");
    cmd->add_option("REF", options->ref,
                    "Reference: a channel file, or the CSV of one list as export writes it")
        ->required();
    cmd->add_option("IN", options->in, "Channel file to reorder")->required();
    cmd->add_option("OUT", options->out, "Where to save it (may be IN)")->required();
    const std::map<std::string, ChannelKind> lists = {{"tv", ChannelKind::Tv},
                                                      {"radio", ChannelKind::Radio}};
    cmd->add_option("--list", options->list,
                    "The one list to reorder (a CSV is this list; default tv for a CSV, both "
                    "lists for a channel file)")
        ->transform(CLI::CheckedTransformer(lists));
    cmd->add_flag("--names", options->names, "Matched channels take the reference's names");
    cmd->add_flag("--locks", options->locks,
                  "Matched channels take the reference's locks (channel file only)");
    cmd->add_flag("--favourites", options->favourites,
                  "The favourite groups become the reference's (channel file only)");
    const std::map<std::string, order::UnmatchedPlace> places = {
        {"last", order::UnmatchedPlace::Last}, {"first", order::UnmatchedPlace::First}};
    cmd->add_option("--unmatched", options->unmatched,
                    "Where channels without a partner go: last (default) or first")
        ->transform(CLI::CheckedTransformer(places));
    addCodePageOption(*cmd, options->page);
    cmd->callback([options] { run(*options); });
}

const bool registered = registerCommand(&addApplyOrderCommand);

}  // namespace
}  // namespace zoedit::cli
