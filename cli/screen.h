#pragma once
// `screen`: one template project placed in every county of a state or of the
// country and analysed there, as a user would move it: the template opened
// as File > Open does, the state and then the county chosen on the Project
// Information screen (which presets the time zone and daylight saving; the
// mitigation screen reads the county's hurricane design wind speed), the
// Tornado Hazard Information screen opened so that it selects the region by
// the template's method and radius (or by the method asked for), then
// "Benefit Cost Analysis" pressed there.
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

namespace verrane {
class Form6;
}

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

// What the results screen holds after one analysis, at full precision.
struct CountyFigures {
    double tornadoBenefits = 0, hurricaneBenefits = 0, totalBenefits = 0, annualizedCost = 0, netBenefits = 0;
    std::optional<double> benefitCostRatio;  // empty when the annualized cost is 0 ("Undefined")
    double f3Tornadoes = 0;                  // F3 tornadoes of the pooled region
    bool sufficient = false;                 // enough of them for the analysis
};
CountyFigures FiguresOf(const Form6& results);

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
