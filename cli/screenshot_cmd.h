#pragma once
// `screenshot`: renders one screen's window to a PNG with no display.
#include <iosfwd>
#include <string>

namespace verrane::cli {

int RunScreenshot(const std::string& screen, const std::string& project, const std::string& png, std::ostream& out,
                  std::ostream& err);

}  // namespace verrane::cli
