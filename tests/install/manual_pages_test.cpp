// The manual pages against the programs' own --help texts, so that neither
// can change without the other: every command, option and argument the help
// lists has its entry in the page, and the page lists nothing the program
// lacks. Also the one version, and help and version without a display.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Ran {
    int status = -1;
    std::string out;
};

Ran runShell(const std::string& command) {
    Ran run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// No window system to be had: a program that touched one would abort.
Ran runWithoutDisplay(const std::string& program, const std::string& args) {
    return runShell("env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb '" + program + "' " +
                    args + " 2>/dev/null");
}

std::string readSource(const std::string& relative) {
    std::ifstream in(std::string(ZOEDIT_SOURCE_DIR) + "/" + relative);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

std::string firstWord(const std::string& text) {
    std::istringstream in(text);
    std::string word;
    in >> word;
    return word;
}

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// Option names in a text: -x, -?, --long-name.
std::set<std::string> optionNames(const std::string& text) {
    static const std::regex option(R"((^|[\s,|\[])(--[A-Za-z][A-Za-z0-9-]*|-[A-Za-z?]))");
    std::set<std::string> names;
    for (std::sregex_iterator it(text.begin(), text.end(), option), end; it != end; ++it)
        names.insert((*it)[2].str());
    return names;
}

// ---- the --help texts

struct Help {
    std::set<std::string> options;
    std::vector<std::string> positionals;
    std::vector<std::string> subcommands;
    std::string footer;
};

// CLI11: "Options:", "Positionals:" and "Subcommands:" blocks of lines
// indented by two, the entry's names in its first column.
Help parseCli11Help(const std::string& text) {
    Help help;
    std::string block;
    for (const std::string& line : lines(text)) {
        if (line.empty()) {
            block.clear();
            continue;
        }
        if (line.back() == ':' && line.find(' ') == std::string::npos) {
            block = line;
            continue;
        }
        const bool entry = startsWith(line, "  ") && line.size() > 2 && line[2] != ' ';
        if (block.empty() || !entry) {
            if (block.empty() && !startsWith(line, "Usage:")) help.footer += line + "\n";
            continue;
        }
        const std::string names = firstWord(line);
        if (block == "Options:") {
            for (const auto& name : optionNames(std::regex_replace(names, std::regex(","), " ")))
                help.options.insert(name);
        } else if (block == "Positionals:") {
            help.positionals.push_back(names);
        } else if (block == "Subcommands:") {
            help.subcommands.push_back(names);
        }
    }
    return help;
}

// Qt: "  -v, --version   Text" under "Options:", "  FILE   Text" under "Arguments:".
Help parseQtHelp(const std::string& text) {
    Help help;
    std::string block;
    for (const std::string& line : lines(text)) {
        if (line.empty()) {
            block.clear();
        } else if (!startsWith(line, " ")) {
            block = line;
        } else if (block == "Options:") {
            const std::string names = line.substr(0, line.find("  ", 2));
            for (const auto& name : optionNames(names)) help.options.insert(name);
        } else if (block == "Arguments:") {
            help.positionals.push_back(firstWord(line));
        }
    }
    return help;
}

// ---- the manual page

// A roff line as it reads: font changes gone, escaped characters as themselves.
std::string plainText(std::string text) {
    static const std::vector<std::pair<std::regex, std::string>> escapes = {
        {std::regex(R"(\\f(\[[A-Z]*\]|[BIRP]))"), ""},
        {std::regex(R"(\\-)"), "-"},
        {std::regex(R"(\\\(aq)"), "'"},
        {std::regex(R"(\\\(dq)"), "\""},
        {std::regex(R"(\\&)"), ""},
        {std::regex(R"(\\e)"), "\\"}};
    for (const auto& [pattern, replacement] : escapes)
        text = std::regex_replace(text, pattern, replacement);
    return text;
}

// A macro line's arguments as they print: quoted arguments keep their
// blanks; .B and .I join the words with blanks, the alternating macros
// (.BR, .BI, .IR, ...) join them without.
std::string macroText(const std::string& line) {
    const std::string macro = firstWord(line);
    std::vector<std::string> args;
    std::string current;
    bool quoted = false, any = false;
    for (std::size_t i = macro.size(); i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if (c == ' ' && !quoted) {
            if (any) args.push_back(current);
            current.clear();
            any = false;
        } else {
            current += c;
            any = true;
        }
    }
    if (any) args.push_back(current);
    static const std::set<std::string> alternating_macros = {".BR", ".BI", ".IB",
                                                             ".IR", ".RB", ".RI"};
    const bool alternating = alternating_macros.count(macro) > 0;
    std::string joined;
    for (const auto& arg : args) joined += (joined.empty() || alternating ? "" : " ") + arg;
    return plainText(joined);
}

struct Section {
    std::string heading;
    std::set<std::string> item_options;  // options named by the tags of its .TP items
    std::set<std::string> items;         // the tags themselves, as they read
};

struct ManPage {
    std::map<std::string, Section> sections;                  // .SH, before any .SS
    std::map<std::string, std::vector<Section>> subsections;  // .SS, by their .SH
};

ManPage parseManPage(const std::string& roff) {
    ManPage page;
    Section* current = nullptr;
    std::string section;
    bool tag_next = false;
    for (const std::string& line : lines(roff)) {
        if (startsWith(line, ".\\\"")) continue;
        if (tag_next) {
            tag_next = false;
            const std::string tag = startsWith(line, ".") ? macroText(line) : plainText(line);
            current->items.insert(tag);
            for (const auto& name : optionNames(tag)) current->item_options.insert(name);
            continue;
        }
        if (startsWith(line, ".SH ")) {
            section = macroText(line);
            current = &page.sections[section];
            current->heading = section;
        } else if (startsWith(line, ".SS ")) {
            page.subsections[section].push_back(Section{macroText(line), {}, {}});
            current = &page.subsections[section].back();
        } else if (startsWith(line, ".TP") && current) {
            tag_next = true;
        }
    }
    return page;
}

// "send FILE, receive OUT" documents send and receive together.
std::vector<std::string> commandsOf(const std::string& heading) {
    std::vector<std::string> commands;
    std::istringstream in(heading);
    for (std::string part; std::getline(in, part, ',');) commands.push_back(firstWord(part));
    return commands;
}

std::set<std::string> withoutHelp(std::set<std::string> options) {
    options.erase("-h");
    options.erase("--help");
    return options;
}

void expectStandardSections(const ManPage& page) {
    for (const char* name :
         {"NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "EXIT STATUS", "EXAMPLES", "SEE ALSO"})
        EXPECT_TRUE(page.sections.count(name)) << "no section " << name;
}

const std::string kCli = ZOEDIT_CLI_PATH;

TEST(ManualPages, CliPageHasEveryCommandOptionAndArgumentOfItsHelp) {
    const Ran top = runShell("'" + kCli + "' --help");
    ASSERT_EQ(top.status, 0);
    const Help help = parseCli11Help(top.out);
    ASSERT_FALSE(help.subcommands.empty()) << top.out;
    const ManPage page = parseManPage(readSource("docs/man/zoedit-cli.1"));
    expectStandardSections(page);
    ASSERT_TRUE(page.sections.count("COMMANDS"));
    EXPECT_EQ(page.sections.at("OPTIONS").item_options, help.options);

    std::map<std::string, const Section*> documented;
    if (page.subsections.count("COMMANDS"))
        for (const Section& s : page.subsections.at("COMMANDS"))
            for (const auto& command : commandsOf(s.heading)) documented[command] = &s;
    std::set<std::string> exit_statuses;
    for (const std::string& command : help.subcommands) {
        SCOPED_TRACE(command);
        const auto entry = documented.find(command);
        if (entry == documented.end()) {
            ADD_FAILURE() << "zoedit-cli.1 has no subsection for \"" << command << "\"";
            continue;
        }
        const Ran run = runShell("'" + kCli + "' " + command + " --help");
        ASSERT_EQ(run.status, 0);
        const Help sub = parseCli11Help(run.out);
        EXPECT_EQ(entry->second->item_options, withoutHelp(sub.options))
            << "the options of \"" << command << "\" in zoedit-cli.1 differ from its --help";
        const std::string heading = " " + entry->second->heading + " ";
        for (const auto& positional : sub.positionals)
            EXPECT_TRUE(std::regex_search(heading, std::regex("[ |]" + positional + "[ .|,]")))
                << "the heading \"" << entry->second->heading << "\" does not name " << positional;
        // "Exit status: 0 done, 1 refused, ..." in a command's help.
        const auto at = sub.footer.find("Exit status:");
        if (at != std::string::npos) {
            static const std::regex status(R"((\d+) [a-z])");
            const std::string text = sub.footer.substr(at);
            for (std::sregex_iterator it(text.begin(), text.end(), status), end; it != end; ++it)
                exit_statuses.insert((*it)[1].str());
        }
        documented.erase(entry);
    }
    for (const auto& [command, section] : documented)
        ADD_FAILURE() << "zoedit-cli.1 documents \"" << command << "\", which --help lacks";
    EXPECT_FALSE(exit_statuses.empty());
    for (const auto& status : exit_statuses)
        EXPECT_TRUE(page.sections.at("EXIT STATUS").items.count(status))
            << "EXIT STATUS does not explain " << status;
}

#ifdef ZOEDIT_GUI_PATH
const std::string kGui = ZOEDIT_GUI_PATH;

TEST(ManualPages, EditorPageHasEveryOptionAndArgumentOfItsHelp) {
    const Ran run = runWithoutDisplay(kGui, "--help");
    ASSERT_EQ(run.status, 0);
    const Help help = parseQtHelp(run.out);
    ASSERT_TRUE(help.options.count("--print-pdf")) << run.out;
    const ManPage page = parseManPage(readSource("docs/man/zoedit.1"));
    expectStandardSections(page);
    EXPECT_EQ(page.sections.at("OPTIONS").item_options, help.options);
    ASSERT_TRUE(page.sections.count("ARGUMENTS"));
    std::set<std::string> arguments;
    for (const auto& item : page.sections.at("ARGUMENTS").items) arguments.insert(item);
    EXPECT_EQ(arguments, std::set<std::string>(help.positionals.begin(), help.positionals.end()));
}

TEST(Version, EditorAnswersHelpAndVersionWithoutADisplay) {
    const Ran version = runWithoutDisplay(kGui, "--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "zoedit " ZOEDIT_VERSION_EXPECTED "\n");
    const Ran help = runWithoutDisplay(kGui, "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage: "), std::string::npos) << help.out;
    // Among other arguments too, and as -v.
    EXPECT_EQ(runWithoutDisplay(kGui, "--page 1 -v").out, version.out);
}
#endif

TEST(Version, CliPrintsTheProjectVersion) {
    const Ran run = runShell("'" + kCli + "' --version");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "zoedit-cli " ZOEDIT_VERSION_EXPECTED "\n");
}

TEST(Version, ChangelogsNewestEntryIsTheProjectVersion) {
    const std::string changelog = readSource("packaging/changelog");
    EXPECT_TRUE(startsWith(changelog, "zoedit (" ZOEDIT_VERSION_EXPECTED ") "))
        << "packaging/changelog needs an entry for " ZOEDIT_VERSION_EXPECTED " on top";
}

TEST(ManualPageParsing, ReadsTagsOfEveryMacroKind) {
    const ManPage page = parseManPage(
        ".SH OPTIONS\n.TP\n.BR \\-h \", \" \\-\\-help\nHelp.\n.TP\n.BI \\-\\-list \" "
        "tv\\fR|\\fPradio\"\nList.\n.TP\n.B \\-\\-json\n.SH COMMANDS\n.SS \"send \\fIFILE\\fP, "
        "receive \\fIOUT\\fP\"\n.TP\n\\fB\\-\\-port\\fR \\fIPATH\\fR\n");
    EXPECT_EQ(page.sections.at("OPTIONS").item_options,
              (std::set<std::string>{"-h", "--help", "--list", "--json"}));
    EXPECT_TRUE(page.sections.at("OPTIONS").items.count("--list tv|radio"));
    const Section& both = page.subsections.at("COMMANDS").front();
    EXPECT_EQ(commandsOf(both.heading), (std::vector<std::string>{"send", "receive"}));
    EXPECT_EQ(both.item_options, std::set<std::string>{"--port"});
}

}  // namespace
