// verrane-refdata: builds data/ from the raw sources, or checks it.
//   verrane-refdata --raw ../shared/data --out data
//   verrane-refdata --check data [--raw ../shared/data]
// Further SPC record files (yearly YYYY_torn.csv or the whole
// 1950-YYYY_actual_tornadoes.csv) are added with --spc FILE, repeatably;
// a later file replaces every year it holds.
#include <CLI/CLI.hpp>
#include <chrono>
#include <filesystem>
#include <iostream>

#include "refdata.h"

int main(int argc, char** argv) {
    CLI::App app{"Builds the Verrane reference data from the raw public sources"};
    std::string raw, out, check;
    std::vector<std::string> spc;
    app.add_option("--raw", raw, "folder of the raw sources (census/, spc/, timezones/, wind/)");
    app.add_option("--out", out, "folder to write verrane.sqlite and the shapefiles into");
    app.add_option("--check", check, "folder of built data to validate");
    app.add_option("--spc", spc,
                   "further SPC tornado record file (CSV or zip); repeatable, later files replace the years they hold")
        ->allow_extra_args(false);
    CLI11_PARSE(app, argc, argv);
    try {
        if (!check.empty()) {
            int problems = refdata::check_data(check, raw, std::cout, spc);
            std::cout << (problems == 0 ? "check passed\n" : std::to_string(problems) + " problem(s) found\n");
            return problems == 0 ? 0 : 1;
        }
        if (raw.empty() || out.empty()) {
            std::cerr << "give --raw and --out to build, or --check to validate\n";
            return 2;
        }
        auto t0 = std::chrono::steady_clock::now();
        std::filesystem::create_directories(out);
        refdata::BuildResult b = refdata::build_from_raw(raw, std::cout, spc);
        refdata::write_database(out + "/verrane.sqlite", b);
        refdata::write_shapefiles(out, b);
        auto secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        std::cout << "written to " << out << " in " << secs << " s\n";
        return 0;
    } catch (const refdata::Error& e) {
        std::cerr << "verrane-refdata: " << e.what() << "\n";
    } catch (const std::exception& e) {
        std::cerr << "verrane-refdata: unexpected failure: " << e.what() << "\n";
    }
    return 1;
}
