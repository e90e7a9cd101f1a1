#pragma once
// Messages the program shows, written to standard error as "title: text"
// (just the text when the title is blank).
#include <ostream>

#include "platform/dialogs.h"

namespace verrane::cli {

void PrintMessage(std::ostream& out, const platform::Message& m);

}  // namespace verrane::cli
