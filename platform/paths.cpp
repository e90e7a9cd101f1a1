#include "platform/paths.h"

#include <QCoreApplication>
#include <system_error>

namespace verrane::platform {

namespace {
std::filesystem::path& Override() {
    static std::filesystem::path p;
    return p;
}

std::filesystem::path& ProgramDirectory() {
    static std::filesystem::path p;
    return p;
}

bool HoldsData(const std::filesystem::path& dir) {
    std::error_code ec;
    return !dir.empty() && std::filesystem::exists(dir / "verrane.sqlite", ec);
}

std::filesystem::path ProgramDir() {
    if (ProgramDirectory().empty() && QCoreApplication::instance())
        ProgramDirectory() = QCoreApplication::applicationDirPath().toStdU16String();
    return ProgramDirectory();
}

std::filesystem::path Search() {
    const QString fromEnvironment = qEnvironmentVariable("VERRANE_DATA");
    if (!fromEnvironment.isEmpty()) return fromEnvironment.toStdU16String();
    std::filesystem::path dir = ProgramDir();
    // Installed: beside the program, or in ../share/verrane (bin/ and share/ of one prefix).
    for (const std::filesystem::path& candidate : {dir, dir / "data", dir.parent_path() / "share" / "verrane"})
        if (HoldsData(candidate)) return candidate;
    // Run from a build tree inside the source tree: the data/ folder above.
    for (int i = 0; i < 6 && !dir.empty(); ++i) {
        if (HoldsData(dir / "data")) return dir / "data";
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

void SetProgramDir(int argc, char** argv) {
    if (QCoreApplication::instance()) {
        ProgramDirectory() = QCoreApplication::applicationDirPath().toStdU16String();
        return;
    }
    // Qt tells the program's folder only while an application object exists;
    // the command line makes its own later, and only for some commands.
    const QCoreApplication probe(argc, argv);
    ProgramDirectory() = QCoreApplication::applicationDirPath().toStdU16String();
}

std::filesystem::path DataDir() {
    if (!Override().empty()) return Override();
    static const std::filesystem::path found = Search();
    return found;
}

void SetDataDir(const std::filesystem::path& dir) { Override() = dir; }

}  // namespace verrane::platform
