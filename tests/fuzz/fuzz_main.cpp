// libFuzzer target: every input is a project file; a fault aborts.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/fuzz/project_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::filesystem::path scratch =
        std::filesystem::temp_directory_path() / ("verrane-fuzz-" + std::to_string(getpid()) + ".tor");
    const std::string fault = verrane::fuzz::CheckProjectBytes(
        std::string_view(reinterpret_cast<const char*>(data), size), VERRANE_SOURCE_DATA_DIR, scratch);
    if (!fault.empty()) {
        std::fprintf(stderr, "verrane fuzz fault: %s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
