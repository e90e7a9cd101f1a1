#pragma once
// `edit`: opens a project as File > Open does, sets each NAME=VALUE in order
// as the user would type or choose it on the input's screen, and writes the
// project with File > Save As, so the file is the one the window would save.
#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace verrane::cli {

// Exit status: 0 written; 1 the project could not be read or the file not
// written; 2 a malformed --set, an unknown name (the valid names are listed)
// or a value the screen refused (its message is shown; nothing is written).
int RunEdit(const std::filesystem::path& project, const std::vector<std::string>& sets,
            const std::filesystem::path& output, std::ostream& err);

}  // namespace verrane::cli
