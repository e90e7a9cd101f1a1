#include "cli/messages.h"

#include "platform/output_file.h"
#include "project/fields.h"

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

bool IsWritableOutput(const std::filesystem::path& output, const std::vector<std::filesystem::path>& inputs,
                      std::ostream& err) {
    try {
        platform::CheckOutputFile(output, inputs);
        return true;
    } catch (const platform::TextFileError& e) {
        err << "verrane-cli: " << e.what() << "\n";
        return false;
    }
}

}  // namespace verrane::cli
