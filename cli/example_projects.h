#pragma once
// The sample projects of examples/, made by driving the screens as a user
// would and saved with the project file writer.
#include <filesystem>
#include <ostream>

namespace verrane::cli {

// Writes every sample project into `dir`; returns the exit status.
int WriteExampleProjects(const std::filesystem::path& dir, std::ostream& out, std::ostream& err);

}  // namespace verrane::cli
