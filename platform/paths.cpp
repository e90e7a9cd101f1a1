#include "platform/paths.h"

#include <system_error>

namespace verrane::platform {

namespace {
std::filesystem::path& Override() {
    static std::filesystem::path p;
    return p;
}

std::filesystem::path Search() {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    std::filesystem::path dir = ec ? std::filesystem::current_path(ec) : exe.parent_path();
    for (int i = 0; i < 6 && !dir.empty(); ++i) {
        for (const char* sub : {"data", "share/verrane/data"}) {
            auto candidate = dir / sub;
            if (std::filesystem::exists(candidate / "verrane.sqlite", ec)) return candidate;
        }
        if (dir == dir.parent_path()) break;
        dir = dir.parent_path();
    }
#ifdef VERRANE_SOURCE_DATA_DIR
    return VERRANE_SOURCE_DATA_DIR;
#else
    return "data";
#endif
}
}  // namespace

std::filesystem::path DataDir() {
    if (!Override().empty()) return Override();
    static const std::filesystem::path found = Search();
    return found;
}

void SetDataDir(const std::filesystem::path& dir) { Override() = dir; }

}  // namespace verrane::platform
