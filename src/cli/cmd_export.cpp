// zoedit-cli export FILE --format json|csv [--list ...]: the database, or one
// list of it, for other programs.
#include <iostream>
#include <map>
#include <memory>

#include "cli/cli_support.h"
#include "cli/command_registry.h"
#include "cli/database_csv.h"
#include "cli/database_json.h"

namespace zoedit::cli {
namespace {

struct ExportOptions {
    std::string path;
    std::string format;
    std::optional<ListKind> list;
    CodePage page = CodePage::Windows1256;
};

nlohmann::ordered_json listJson(const ChannelDatabase& db, ListKind list, CodePage page) {
    switch (list) {
        case ListKind::Tv:
            return channelsJson(db, ChannelKind::Tv, page);
        case ListKind::Radio:
            return channelsJson(db, ChannelKind::Radio, page);
        case ListKind::Satellites:
            return satellitesJson(db, page);
        case ListKind::Transponders:
            return transpondersJson(db);
        case ListKind::Favourites:
            break;
    }
    return favouritesJson(db, page);
}

void run(const ExportOptions& options) {
    const auto file = loadForCommand(options.path);
    if (!file) return;
    if (options.format == "csv") {
        // A CSV file holds one table; the TV list is the one users ask for.
        std::cout << listCsv(*file->db, options.list.value_or(ListKind::Tv), options.page);
        return;
    }
    const auto out = options.list ? listJson(*file->db, *options.list, options.page)
                                  : databaseJson(*file->db, options.page);
    std::cout << out.dump(2) << '\n';
}

void addExportCommand(CLI::App& app) {
    auto options = std::make_shared<ExportOptions>();
    auto* cmd = app.add_subcommand("export", "Write the database or one list as JSON or CSV");
    cmd->add_option("FILE", options->path, "Channel file")->required();
    cmd->add_option("--format", options->format, "json or csv")
        ->required()
        ->check(CLI::IsMember({"json", "csv"}));
    const std::map<std::string, ListKind> lists = {{"tv", ListKind::Tv},
                                                   {"radio", ListKind::Radio},
                                                   {"satellites", ListKind::Satellites},
                                                   {"transponders", ListKind::Transponders},
                                                   {"favourites", ListKind::Favourites}};
    cmd->add_option("--list", options->list, "tv, radio, satellites, transponders or favourites")
        ->transform(CLI::CheckedTransformer(lists));
    addCodePageOption(*cmd, options->page);
    cmd->callback([options] { run(*options); });
}

const bool registered = registerCommand(&addExportCommand);

}  // namespace
}  // namespace zoedit::cli
