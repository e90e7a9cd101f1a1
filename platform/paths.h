#pragma once
#include <filesystem>

namespace verrane::platform {

// The folder of the shipped reference data (verrane.sqlite, the shape files,
// the help and the seal), searched once: the folder VERRANE_DATA names;
// else the first holding verrane.sqlite of the program's folder, its data/,
// ../share/verrane (an installation), then the data/ folder of the program's
// folder or one above it (a build tree inside the source tree).
std::filesystem::path DataDir();
// Learns the program's folder from Qt (QCoreApplication::applicationDirPath).
// Each program's main calls it first; without it the folder is asked of the
// running application object, if any.
void SetProgramDir(int argc, char** argv);
// Overrides the search (tests, and the command line's --data option).
void SetDataDir(const std::filesystem::path& dir);

inline std::filesystem::path ReferenceDatabasePath() { return DataDir() / "verrane.sqlite"; }

}  // namespace verrane::platform
