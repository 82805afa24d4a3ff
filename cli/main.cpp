// zevo-cli: the editor's core in batch form, for scripts and tests.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <map>
#include <string>

#include "cli/check_commands.h"
#include "cli/cli_common.h"
#include "cli/commands.h"
#include "cli/coords_commands.h"
#include "cli/estimate_commands.h"
#include "cli/font_commands.h"
#include "cli/netlist_commands.h"
#include "cli/output_commands.h"
#include "cli/view_commands.h"
#include "paths/file_io.h"
#include "text/language.h"
#include "text/translations.h"

#if defined(_WIN32)
// shellapi.h needs windows.h first.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on
#endif

namespace {

// The help says what each value is: "--out DIR", "--at X,Y", "-o FILE" instead of the word
// "TEXT"; positional arguments are named after what they are and need no second word.
void NameExpectedValues(CLI::App& app) {
    static const std::map<std::string, std::string> kNames = {
        {"--out", "DIR"},     {"--dir", "DIR"},   {"--output", "FILE"},
        {"--rules", "FILE"},  {"--font", "FILE"}, {"--gerber", "FILE"},
        {"--single", "FILE"}, {"--at", "X,Y"},    {"--size", "WxH"}};
    for (CLI::App* sub : app.get_subcommands([](CLI::App*) { return true; })) {
        for (CLI::Option* o : sub->get_options()) {
            if (o->get_type_name() != "TEXT") continue;
            if (!o->nonpositional()) {
                o->type_name("");
                continue;
            }
            const auto it = kNames.find(o->get_name());
            if (it != kNames.end()) o->type_name(it->second);
        }
    }
}

// Entries of a translation file beside the program replace the built-in English.
void LoadTranslations() {
    const std::filesystem::path file = zevo::cli::ProgramPaths().Find(zevo::kTranslationFileName);
    const zevo::TranslationLoad load = zevo::LoadTranslationOverrides(file);
    if (load.skipped > 0)
        std::fprintf(stderr, "zevo-cli: %s: %d line(s) skipped\n", file.string().c_str(),
                     load.skipped);
}

#if defined(_WIN32)
// Windows hands main() its arguments in the ANSI code page, which cannot hold every file name:
// the wide command line, in UTF-8 as everywhere else in the program.
std::vector<std::string> Utf8Arguments() {
    std::vector<std::string> args;
    int n = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &n);
    if (!wide) return args;
    for (int i = 0; i < n; ++i) {
        const int len = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string a(len > 0 ? std::size_t(len) : 1, '\0');
        if (len > 0) WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, a.data(), len, nullptr, nullptr);
        a.pop_back();  // the terminating zero
        args.push_back(std::move(a));
    }
    LocalFree(wide);
    return args;
}
#endif

}  // namespace

int main(int argc, char** argv) {
    using namespace zevo::cli;
    CLI::App app{"zevo-cli: batch commands over the Zevo board editor's core", "zevo-cli"};
    app.require_subcommand(1);
    // The same options on every system: "/name" is a file, never an option (CLI11 would read it
    // as one on Windows).
    app.allow_windows_style_options(false);
    // An error names what went wrong and shows the usage of the subcommand it concerns (or the
    // list of subcommands), so that the user sees what is expected.
    app.failure_message([](const CLI::App* a, const CLI::Error& e) {
        const std::vector<CLI::App*> used = a->get_subcommands();
        std::string text = "zevo-cli";
        if (!used.empty()) text += " " + used.front()->get_name();
        text += ": ";
        text += e.what();
        text += "\n\n";
        text += a->help();  // the help of the subcommand given, if any
        return text;
    });
    int status = 0;

    // The language of the messages: the locale's, unless --lang says. Files are the same bytes
    // in either language.
    zevo::SetUiLanguage(zevo::LanguageFromEnvironment());
    app.fallthrough();  // --lang may also follow the subcommand
    app.add_option_function<std::string>(
           "--lang",
           [](const std::string& lang) {
               zevo::SetUiLanguage(lang == "ja" ? zevo::Language::Japanese
                                                : zevo::Language::English);
           },
           "language of the messages (default: from LC_ALL, LC_MESSAGES or LANG)")
        ->check(CLI::IsMember({"ja", "en"}))
        ->type_name("ja|en");
    LoadTranslations();

    std::string infoFile;
    auto* info = app.add_subcommand("info",
                                    "Report a board file: version, size, layers, elements, "
                                    "skipped lines");
    info->add_option("FILE", infoFile, "board file (.pcb)")->required();
    info->callback([&] { status = CmdInfo(zevo::PathFromUtf8(infoFile)); });

    std::string convIn, convOut;
    bool oldFormat = false;
    auto* conv = app.add_subcommand("convert", "Read a board file and write it back");
    conv->add_option("IN", convIn, "board file to read")->required();
    conv->add_option("OUT", convOut, "board file to write")->required();
    conv->add_flag("--old-format", oldFormat, "write the old format (lands and lines only)");
    conv->callback([&] {
        status = CmdConvert(zevo::PathFromUtf8(convIn), zevo::PathFromUtf8(convOut), oldFormat);
    });

    // Text goes through the same board reading and writing as every other command.
    zevo::BoardFileAccess files{
        [](zevo::Board& b, const std::filesystem::path& p, std::string& error) {
            zevo::ReadResult result;
            if (!ReadBoardFile(p, b, result)) {
                error = "cannot read " + p.string();
                return false;
            }
            if (!result.issues.empty()) {
                std::printf("%s: %zu line(s) skipped\n", p.string().c_str(), result.issues.size());
                PrintReadIssues(result);
            }
            return true;
        },
        [](zevo::Board& b, const std::filesystem::path& p) {
            std::string error;
            if (WriteBoardFile(p, b, false, &error)) return true;
            std::fprintf(stderr, "zevo-cli: cannot write %s: %s\n", p.string().c_str(),
                         error.c_str());
            return false;
        }};
    zevo::AddFontCommands(app, files, status);
    zevo::cli::AddOutputCommands(app, files, status);
    zevo::AddCheckCommands(app, files, status);
    zevo::AddNetlistCommands(app, files, status);
    zevo::AddCoordsCommands(app, files, status);
    zevo::AddViewCommands(app, files, status);
    zevo::AddEstimateCommands(app, files, status);

    NameExpectedValues(app);

#if defined(_WIN32)
    std::vector<std::string> utf8 = Utf8Arguments();
    std::vector<char*> utf8Argv;
    for (std::string& a : utf8) utf8Argv.push_back(a.data());
    if (!utf8Argv.empty()) {
        argc = static_cast<int>(utf8Argv.size());
        utf8Argv.push_back(nullptr);
        argv = utf8Argv.data();
    }
#endif
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    }
    return status;
}
