#pragma once
// `report`: opens a project as File > Open does, runs the analysis as the
// "Benefit Cost Analysis" button does, then produces the long or short
// report through the File menu of the results screen, as a PDF file.
#include <filesystem>
#include <iosfwd>

namespace verrane::cli {

int RunReportCommand(const std::filesystem::path& project, bool longReport, const std::filesystem::path& pdf,
                     std::ostream& out, std::ostream& err);

}  // namespace verrane::cli
