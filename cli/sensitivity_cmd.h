#pragma once
// `sensitivity`: opens a project as File > Open does and prints its base
// results, the one-at-a-time variations, the breakeven project cost and
// discount rate and the 90 % interval from the tornado record, as text or as
// one JSON object.
#include <filesystem>
#include <iosfwd>
#include <string>

#include "model/sensitivity.h"

namespace verrane::cli {

std::string SensitivityJson(const model::SensitivityResult& r);
void PrintSensitivityText(std::ostream& out, const model::SensitivityResult& r);

// Exit status: 0 done; 1 the project could not be read or analysed; 2 --pdf.
int RunSensitivityCommand(const std::filesystem::path& project, bool json, const std::filesystem::path& pdf,
                          std::ostream& out, std::ostream& err);

}  // namespace verrane::cli
