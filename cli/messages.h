#pragma once
// Messages the program shows, written to standard error as "title: text"
// (just the text when the title is blank).
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "platform/number.h"
#include "project/document_analysis.h"

namespace verrane::cli {

void PrintMessage(std::ostream& out, const platform::Message& m);

// True when `file` is a file; otherwise says why not ("verrane-cli: FILE: no
// such file" or "not a file").
bool IsProjectFile(const std::filesystem::path& file, std::ostream& err);

// True when `output` may be written (see platform/output_file.h), checked
// before any work is done; otherwise says why not. `inputs` are the files
// the command reads, which its output must never replace.
bool IsWritableOutput(const std::filesystem::path& output, const std::vector<std::filesystem::path>& inputs,
                      std::ostream& err);

using platform::ShortestNumber;

// Why the window would keep "Benefit Cost Analysis" off for a project.
using project::NotAnalysedReason;

}  // namespace verrane::cli
