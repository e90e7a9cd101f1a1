// verrane-cli: the program with no window. One function per subcommand.
#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/analyze.h"
#include "cli/counties.h"
#include "cli/edit_cmd.h"
#include "cli/example_projects.h"
#include "cli/report_cmd.h"
#include "cli/screen.h"
#include "cli/screenshot_cmd.h"
#include "cli/sensitivity_cmd.h"
#include "platform/paths.h"
#include "platform/provenance.h"

namespace {

using namespace verrane;

// An output option given an empty name is a bad argument, not "no output".
const CLI::Validator kFileName(
    [](std::string& name) { return name.empty() ? std::string("an output file needs a name") : std::string(); },
    "FILE");

struct AnalyzeArgs {
    std::vector<std::string> files;
    bool json = false, csv = false;
};

void AddAnalyze(CLI::App& cli, AnalyzeArgs& a, int& status) {
    auto* cmd = cli.add_subcommand("analyze",
                                   "Open each project file as File > Open does, run the benefit cost analysis and "
                                   "print its eight results.");
    cmd->add_option("PROJECT", a.files, "Project files (.tor)")->required();
    auto* json =
        cmd->add_flag("--json", a.json, "Print a JSON array with one object per analysed project, one object a line");
    cmd->add_flag("--csv", a.csv, "Print one header line and one CSV line per analysed project")->excludes(json);
    cmd->callback([&] {
        const auto format = a.json ? cli::OutputFormat::Json : a.csv ? cli::OutputFormat::Csv : cli::OutputFormat::Text;
        status = cli::RunAnalyze(a.files, format, std::cout, std::cerr);
    });
}

struct CountiesArgs {
    std::string state, county;
    std::optional<double> radius;
    bool entireState = false;
};

void AddCounties(CLI::App& cli, CountiesArgs& a, int& status) {
    auto* cmd = cli.add_subcommand("counties",
                                   "Print the FIPS codes of the counties the Tornado Hazard Information screen "
                                   "selects, in its order, then its sufficiency message.");
    cmd->add_option("--state", a.state, "State name as listed on the Project Information screen")->required();
    cmd->add_option("--county", a.county, "County name as listed for that state")->required();
    auto* radius =
        cmd->add_option("--radius", a.radius, "Region around the county, in miles")->check(CLI::NonNegativeNumber);
    auto* entire = cmd->add_flag("--entire-state", a.entireState, "Every county of the state");
    radius->excludes(entire);
    cmd->callback([&, radius, entire] {
        if (radius->count() == 0 && entire->count() == 0)
            throw CLI::ValidationError("counties", "one of --radius MILES or --entire-state is required");
        status = cli::RunCounties({a.state, a.county, a.radius, a.entireState}, std::cout, std::cerr);
    });
}

struct ReportArgs {
    std::string file, out;
    bool longReport = false, shortReport = false;
};

void AddReport(CLI::App& cli, ReportArgs& a, int& status) {
    auto* cmd = cli.add_subcommand("report",
                                   "Open a project as File > Open does, run the analysis, and write its long or short "
                                   "report to a PDF file.");
    cmd->add_option("PROJECT", a.file, "Project file (.tor)")->required();
    auto* lng = cmd->add_flag("--long", a.longReport, "The long report (title page and six detail pages)");
    auto* shrt = cmd->add_flag("--short", a.shortReport, "The one-page short report");
    lng->excludes(shrt);
    cmd->add_option("-o,--output", a.out, "PDF file to write")->required()->check(kFileName);
    cmd->callback([&, lng, shrt] {
        if (lng->count() == 0 && shrt->count() == 0)
            throw CLI::ValidationError("report", "one of --long or --short is required");
        status = cli::RunReportCommand(a.file, a.longReport, a.out, std::cout, std::cerr);
    });
}

void AddScreen(CLI::App& cli, cli::ScreenRequest& a, int& status) {
    auto* cmd = cli.add_subcommand(
        "screen",
        "Place a template project in every county of a state (or of the country) as the Project Information screen "
        "moves a project, select each county's region as the Tornado Hazard Information screen does, analyse, and "
        "print one CSV line per county. A template whose counties were picked on the map, or that never chose a "
        "method, keeps each county alone as its region, as the window does, unless --radius or --entire-state is "
        "given. In a state that is not hurricane-prone the template's hurricane occupancy is taken as 0, as the "
        "program's warning asks: the state is named once on stderr and the column HurricaneOccupancyIgnored says "
        "true. A county that cannot be analysed gets empty numbers and its reason on stderr.");
    cmd->add_option("TEMPLATE", a.templateFile, "Template project file (.tor)")->required();
    auto* state = cmd->add_option("--state", a.state, "State name as listed on the Project Information screen");
    auto* all = cmd->add_flag("--all", a.all, "Every county of every state and territory");
    state->excludes(all);
    auto* radius = cmd->add_option("--radius", a.radius,
                                   "Region of this many miles around each county (0 to 250), instead of "
                                   "the template's method");
    auto* entire = cmd->add_flag("--entire-state", a.entireState, "Every county of each county's state as its region");
    radius->excludes(entire);
    cmd->add_option("--csv", a.csvFile, "Write the CSV lines to this file instead of the standard output")
        ->check(kFileName);
    cmd->add_option("--map", a.mapFile, "Draw the ratios on the county map into this PNG file")->check(kFileName);
    cmd->add_flag("--json", a.json, "Print a JSON array, one object per county, instead of CSV");
    cmd->callback([&, state, all] {
        if (state->count() == 0 && all->count() == 0)
            throw CLI::ValidationError("screen", "one of --state NAME or --all is required");
        status = cli::RunScreen(a, std::cout, std::cerr);
    });
}

struct ScreenshotArgs {
    std::string screen, project, out;
};

void AddScreenshot(CLI::App& cli, ScreenshotArgs& a, int& status) {
    auto* cmd = cli.add_subcommand("screenshot", "Render one screen's window to a PNG file, with no display.");
    cmd->add_option(
           "SCREEN", a.screen,
           "start, project, building, hazard, mitigation, analysis, sensitivity, screening, map, progress, extraction, "
           "or "
           "Form1..Form9")
        ->required();
    cmd->add_option("--project", a.project, "Show this project (.tor); the analysis screen runs its analysis");
    cmd->add_option("-o,--output", a.out, "PNG file to write")->required()->check(kFileName);
    cmd->callback([&] { status = cli::RunScreenshot(a.screen, a.project, a.out, std::cout, std::cerr); });
}

struct EditArgs {
    std::string file, out;
    std::vector<std::string> sets;
};

void AddEdit(CLI::App& cli, EditArgs& a, int& status) {
    auto* cmd = cli.add_subcommand("edit",
                                   "Open a project as File > Open does, set each input as a user types or chooses it "
                                   "on its screen, and write the project with File > Save As.");
    cmd->add_option("PROJECT", a.file, "Project file (.tor)")->required();
    cmd->add_option("--set", a.sets,
                    "NAME=VALUE, applied in order. NAME as the project file names the input (BuildingName, "
                    "ProjectCountyName, TornadoOccupancy[0], DiscountRate, DesignWindSpeed, SelectionRadius, ...); "
                    "an unknown name lists them all. Lists take their entry or, where the file keeps a position, "
                    "the position; check boxes 0 or 1. A value the screen refuses is reported and nothing is "
                    "written. Without --set the project is written as the window saves it.")
        ->allow_extra_args(false);
    cmd->add_option("-o,--output", a.out, "Project file to write")->required()->check(kFileName);
    cmd->callback([&] { status = cli::RunEdit(a.file, a.sets, a.out, std::cerr); });
}

struct SensitivityArgs {
    std::string file, pdf;
    bool json = false;
};

void AddSensitivity(CLI::App& cli, SensitivityArgs& a, int& status) {
    auto* cmd = cli.add_subcommand(
        "sensitivity",
        "Open a project as File > Open does and print its results with one input changed at a time (each a whole "
        "re-analysis), the breakeven project cost and discount rate (0 to 20 %), and the 5th, 50th and 95th "
        "percentiles of the tornado benefits and of the ratio from the sampling uncertainty of the tornado record: "
        "10,000 draws of each class's rate from Gamma(D + 0.5, 1) / Y, D the distinct tornadoes of the class in the "
        "pooled region (std::mt19937_64, seed 1, "
        "std::gamma_distribution), percentiles by linear interpolation between the closest ranks.");
    cmd->add_option("PROJECT", a.file, "Project file (.tor)")->required();
    cmd->add_flag("--json", a.json, "Print one JSON object, numbers at full precision, null where undefined");
    cmd->add_option("--pdf", a.pdf, "Also write the sensitivity document to this PDF file")->check(kFileName);
    cmd->callback([&] { status = cli::RunSensitivityCommand(a.file, a.json, a.pdf, std::cout, std::cerr); });
}

void AddWriteExamples(CLI::App& cli, std::string& dir, int& status) {
    // Regenerates examples/; not listed in the help.
    auto* cmd = cli.add_subcommand("write-examples", "");
    cmd->group("");
    cmd->add_option("DIR", dir, "Folder to write the sample projects into")->required()->check(CLI::ExistingDirectory);
    cmd->callback([&] { status = cli::WriteExampleProjects(dir, std::cout, std::cerr); });
}

}  // namespace

int main(int argc, char** argv) {
    platform::SetProgramDir(argc, argv);
    CLI::App cli{"Verrane benefit-cost model for tornado and hurricane shelters, without its window.", "verrane-cli"};
    cli.require_subcommand(1);
    const std::string exitStatus =
        "Exit status: 0 done; 1 a file could not be read or written (nothing was written then, and no old file "
        "was changed); 2 bad arguments or a refused value.";
    cli.footer(exitStatus);
    cli.fallthrough();  // --data may also follow the subcommand
    std::string dataDir;
    cli.add_option("--data", dataDir, "Folder of the reference data (verrane.sqlite and the shape files)")
        ->check(CLI::ExistingDirectory)
        ->check(CLI::Validator(
            [](std::string& dir) {
                return std::filesystem::exists(std::filesystem::path(dir) / "verrane.sqlite")
                           ? std::string()
                           : "no verrane.sqlite in " + dir;
            },
            "DIR"));
    cli.parse_complete_callback([&] {
        if (!dataDir.empty()) platform::SetDataDir(dataDir);
    });
    // The data folder may be given after --version, so the text is made when the flag is met.
    cli.set_version_flag("--version", [] {
        const platform::Provenance p = platform::CurrentProvenance();
        return p.program + "\ntornado record " + p.tornadoRecord + " (" + p.tornadoFiles + ")\nreference data sha256 " +
               p.database + "\ndata folder " + platform::DataDir().string();
    });

    int status = 0;
    AnalyzeArgs analyze;
    AddAnalyze(cli, analyze, status);
    CountiesArgs counties;
    AddCounties(cli, counties, status);
    ReportArgs report;
    AddReport(cli, report, status);
    cli::ScreenRequest screen;
    AddScreen(cli, screen, status);
    ScreenshotArgs screenshot;
    AddScreenshot(cli, screenshot, status);
    EditArgs edit;
    AddEdit(cli, edit, status);
    SensitivityArgs sensitivity;
    AddSensitivity(cli, sensitivity, status);
    std::string examplesDir;
    AddWriteExamples(cli, examplesDir, status);

    for (CLI::App* sub : cli.get_subcommands({})) sub->footer(exitStatus);

    // CLI11 would only say that a subcommand is required.
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--data") {
            ++i;
            continue;
        }
        if (arg == "--version") break;
        if (arg.rfind('-', 0) == 0) continue;
        const auto known = cli.get_subcommands([&arg](CLI::App* sub) { return sub->get_name() == arg; });
        if (known.empty()) {
            std::cerr << "verrane-cli: unknown command \"" << arg << "\"\nRun with --help for more information.\n";
            return 2;
        }
        break;
    }
    try {
        cli.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        // --help is a success; every argument error is a bad argument.
        return cli.exit(e) == 0 ? 0 : 2;
    }
    return status;
}
