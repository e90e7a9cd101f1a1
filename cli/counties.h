#pragma once
// `counties`: the counties the Tornado Hazard Information screen selects for
// a project county, and its sufficiency message.
#include <optional>
#include <ostream>
#include <string>

namespace verrane::cli {

struct CountiesRequest {
    std::string state, county;
    std::optional<double> radiusMiles;  // region around the county
    bool entireState = false;
};

// Prints one FIPS code a line in the screen's order, then the sufficiency
// message. Returns the exit status.
int RunCounties(const CountiesRequest& request, std::ostream& out, std::ostream& err);

}  // namespace verrane::cli
