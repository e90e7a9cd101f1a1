#include "cli/messages.h"

namespace verrane::cli {

void PrintMessage(std::ostream& out, const platform::Message& m) {
    if (m.title.find_first_not_of(' ') != std::string::npos) out << m.title << ": ";
    out << m.text << '\n';
}

}  // namespace verrane::cli
