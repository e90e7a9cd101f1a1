#pragma once
// The project-file fuzz entry: any bytes are opened as a project file the way
// File > Open does, the analysis runs on whatever loaded, and the project is
// saved again. Shared by the libFuzzer target and the replay test.
#include <filesystem>
#include <string>
#include <string_view>

namespace verrane::fuzz {

// Returns "" when all went well, else what went wrong: a result, a screen
// text or a report value that is NaN or infinite, an exception that escaped,
// or a saved file that does not read back. `scratch` is a file the entry may
// write (the project file and its saved copy go there).
std::string CheckProjectBytes(std::string_view bytes, const std::filesystem::path& dataDir,
                              const std::filesystem::path& scratch);

}  // namespace verrane::fuzz
