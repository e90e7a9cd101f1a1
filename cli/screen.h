#pragma once
// `screen`: one template project placed in every county of a state or of the
// country and analysed there, as a user would move it (app/screening.h): the
// template opened once as File > Open does, its document moved to each county
// and analysed there, the reference tables read once for the run.
//
// A template whose counties were picked on the map (User Selected Counties)
// has no rule that carries over to another county: moved as the window moves
// it, each county keeps itself alone as the region, unless --radius or
// --entire-state says otherwise. So does a template that never chose a
// method.
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/screening.h"

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

using screening::CountyFigures;
using screening::ScreenCsvHeader;
using screening::ScreenCsvLine;
using screening::ScreenRow;
using screening::WriteScreenMap;

std::string ScreenJson(const std::vector<ScreenRow>& rows);

// The whole subcommand: 0 done (also when some counties could not be
// analysed: their rows are empty and stderr says why), 1 failed, 2 refused
// input (no template, a template the program rejects, an unknown state, a
// radius the hazard screen refuses).
int RunScreen(const ScreenRequest& request, std::ostream& out, std::ostream& err);

}  // namespace verrane::cli
