#include "cli/messages.h"

#include <charconv>

namespace verrane::cli {

void PrintMessage(std::ostream& out, const platform::Message& m) {
    if (m.title.find_first_not_of(' ') != std::string::npos) out << m.title << ": ";
    out << m.text << '\n';
}

bool IsProjectFile(const std::filesystem::path& file, std::ostream& err) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(file, ec)) return true;
    err << "verrane-cli: " << file.string() << ": "
        << (std::filesystem::exists(file, ec) ? "not a file" : "no such file") << "\n";
    return false;
}

std::string ShortestNumber(double v) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

}  // namespace verrane::cli
