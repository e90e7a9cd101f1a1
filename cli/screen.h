#pragma once
// `screen`: one template project placed in every county of a state or of the
// country and analysed there, as a user would move it: the template opened
// once as File > Open does; for each county a copy of its document moved
// there as choosing the state and then the county on the Project Information
// screen moves it (which presets the time zone and daylight saving), the
// region re-selected by the template's method and radius as the Tornado
// Hazard Information screen does (or by the method asked for), and that
// document analysed as "Benefit Cost Analysis" does, the reference tables
// read once for the run.
//
// A template whose counties were picked on the map (User Selected Counties)
// has no rule that carries over to another county: moved as the window moves
// it, each county keeps itself alone as the region, unless --radius or
// --entire-state says otherwise. So does a template that never chose a
// method.
#include <cstddef>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "model/sensitivity.h"

namespace verrane::cli {

struct ScreenRequest {
    std::string templateFile;
    std::string state;  // the counties of this state ...
    bool all = false;   // ... or of every state
    std::optional<double> radius;
    bool entireState = false;
    std::string csvFile, mapFile;
    bool json = false;
};

// What the results screen holds after one analysis (model::FiguresOf).
using CountyFigures = model::Figures;

struct ScreenRow {
    std::string fips, state, county;
    std::optional<CountyFigures> figures;  // empty when the county could not be analysed
    std::size_t sampleCounties = 0;
    // The county's state is not hurricane-prone and the template's hurricane
    // occupancy was taken as 0 there, as the program's warning asks.
    bool hurricaneOccupancyIgnored = false;
};

std::string ScreenCsvHeader();
std::string ScreenCsvLine(const ScreenRow& row);
std::string ScreenJson(const std::vector<ScreenRow>& rows);

// The whole subcommand: 0 done (also when some counties could not be
// analysed: their rows are empty and stderr says why), 1 failed, 2 refused
// input (no template, a template the program rejects, an unknown state, a
// radius the hazard screen refuses).
int RunScreen(const ScreenRequest& request, std::ostream& out, std::ostream& err);

// The choropleth of the ratios (cli/screen_map.cpp). False with `error` set
// when the map could not be drawn or written.
bool WriteScreenMap(const std::vector<ScreenRow>& rows, const std::string& title, const std::string& subtitle,
                    const std::filesystem::path& png, std::string& error);

}  // namespace verrane::cli
