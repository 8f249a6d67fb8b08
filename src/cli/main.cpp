// marevox-cli: the core of the program, headless, for scripts and tests.
#include "cli/Commands.h"
#include "cli/Messages.h"

#include <CLI/CLI.hpp>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

using namespace mvx::cli;

namespace {

const char kFooter[] = "No command ever overwrites a file that already holds data "
                       "(\"Over-Write of File Not Allowed\").\n"
                       "Exit status: 0 done, 1 an input, an output or the data failed, 2 the command line "
                       "was not understood.";

// The name of the command the parser was reading when it stopped; empty for the program itself.
std::string CommandName(const CLI::App& root) {
    const std::vector<CLI::App*> parsed = root.get_subcommands();
    return parsed.empty() ? std::string() : parsed.back()->get_name();
}

// CLI11's own words where they are clear; plainer ones for an unknown word and a missing value.
std::string Explain(const CLI::App& command, const CLI::ParseError& e) {
    const std::string what = e.what();
    if (dynamic_cast<const CLI::ExtrasError*>(&e) != nullptr) {
        const std::vector<std::string> extras = command.remaining();
        for (const std::string& word : extras)
            if (word.size() > 1 && word[0] == '-' && !std::isdigit(static_cast<unsigned char>(word[1])))
                return "unknown option " + word;
        if (!extras.empty()) return "unexpected argument " + extras.front();
    }
    const size_t colon = what.find(": ");
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&e) != nullptr && colon != std::string::npos &&
        what.ends_with(" missing"))
        return what.substr(0, colon) + " needs a value";
    return what;
}

int ParseFailure(const CLI::App& root, const CLI::ParseError& e, int argc, char** argv) {
    const std::string command = CommandName(root);
    if (command.empty()) {
        const std::string word = argv[1];
        return UsageError("", (word[0] == '-' ? "unknown option \"" : "unknown command \"") + word + "\"");
    }
    const CLI::App& app = *root.get_subcommand(command);
    const int status = UsageError(command, Explain(app, e));
    // A command given alone shows what it takes.
    if (argc == 2) std::fputs(app.help("marevox-cli").c_str(), stderr);
    return status;
}

// Standard output is buffered: a write that failed shows only here, and must not pass for success.
int FinishOutput(const std::string& command, int status) {
    const bool flushed = std::fflush(stdout) == 0;
    const int err = errno;
    if (flushed && !std::ferror(stdout)) return status;
    Failure(command, std::string("cannot write to standard output") +
                         (flushed ? "" : ": " + std::string(std::strerror(err))));
    return status == 0 ? kFailureStatus : status;
}

} // namespace

int main(int argc, char** argv) {
    CLI::App root{"marevox-cli: Marevox's reading, loading, export and chart code without the windows.",
                  "marevox-cli"};
    root.set_version_flag("--version", std::string("marevox-cli ") + MARVOX_VERSION,
                          "Print the program's version and exit");
    // As before: an option given twice counts once, the last one.
    root.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    root.require_subcommand(1);
    root.footer(kFooter);

    std::vector<std::pair<CLI::App*, CommandRun>> commands;
    for (auto add :
         {AddDetails, AddDump, AddExport, AddRender, AddReport, AddSimulate, AddStats, AddTrend, AddView}) {
        CommandRun run = add(root);
        commands.emplace_back(root.get_subcommand(static_cast<int>(commands.size())), std::move(run));
    }
    CLI::App* help = root.add_subcommand("help", "Print this help, or the help of COMMAND, and exit.");
    std::string topic;
    std::vector<std::string> names;
    for (const auto& [app, run] : commands) names.push_back(app->get_name());
    help->add_option("COMMAND", topic, "a command")->check(CLI::IsMember(names))->type_name("");

    if (argc < 2) {
        std::fputs(root.help().c_str(), stderr);
        return kUsageStatus;
    }
    try {
        root.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return FinishOutput(CommandName(root), root.exit(e));
    } catch (const CLI::CallForVersion& e) {
        return FinishOutput("", root.exit(e));
    } catch (const CLI::ParseError& e) {
        return ParseFailure(root, e, argc, argv);
    }
    if (help->parsed()) {
        const CLI::App* about = topic.empty() ? &root : root.get_subcommand(topic);
        const std::string name = topic.empty() ? "marevox-cli" : "marevox-cli " + topic;
        std::fputs(root.get_formatter()->make_help(about, name, CLI::AppFormatMode::Normal).c_str(), stdout);
        return FinishOutput("help", 0);
    }
    for (const auto& [app, run] : commands)
        if (app->parsed()) return FinishOutput(app->get_name(), run());
    return UsageError("", "no command given");
}
