#pragma once
#include <filesystem>

namespace verrane::platform {

// The folder of the shipped reference data: the first data/ folder holding
// verrane.sqlite found beside the executable or above it (so both an
// installed program and one run from its build tree find it).
std::filesystem::path DataDir();
// Overrides the search (tests, and the command line's --data option).
void SetDataDir(const std::filesystem::path& dir);

inline std::filesystem::path ReferenceDatabasePath() { return DataDir() / "verrane.sqlite"; }

}  // namespace verrane::platform
