#pragma once
// Scratch files of the tests, under the system's temporary folder.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace verrane::test {

// `name` in the folder `folder` of the temporary folder, which is made.
inline std::filesystem::path ScratchFile(const std::string& folder, const std::string& name) {
    const auto dir = std::filesystem::temp_directory_path() / folder;
    std::filesystem::create_directories(dir);
    return dir / name;
}

inline std::string FileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace verrane::test
