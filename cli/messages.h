#pragma once
// Messages the program shows, written to standard error as "title: text"
// (just the text when the title is blank).
#include <filesystem>
#include <ostream>
#include <string>

#include "platform/dialogs.h"
#include "project/document_analysis.h"

namespace verrane::cli {

void PrintMessage(std::ostream& out, const platform::Message& m);

// True when `file` is a file; otherwise says why not ("verrane-cli: FILE: no
// such file" or "not a file").
bool IsProjectFile(const std::filesystem::path& file, std::ostream& err);

// The shortest text that reads back as the same double (JSON and CSV numbers).
std::string ShortestNumber(double v);

// Why the window would keep "Benefit Cost Analysis" off for a project.
using project::NotAnalysedReason;

}  // namespace verrane::cli
