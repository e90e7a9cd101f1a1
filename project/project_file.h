#pragma once
// The project file: one value per line in a fixed order. This is the pure
// text side: lines in, a checked document out, and back.
#include <stdexcept>
#include <string>
#include <vector>

#include "project/project_document.h"

namespace verrane::project {

// Why a file was rejected: the line (1-based) and what was expected there.
struct ProjectFileError : std::runtime_error {
    ProjectFileError(int line, const std::string& what);
    int line;
};

// The file reader and writer were written against this name.
using ProjectFileContents = ProjectDocument;

// Throws ProjectFileError for a wrong first line (line 1), a file that ends
// early, a whole number that is not one, a list position out of range, a
// number box holding text or a number that does not fit the box, or a county
// code that is not five digits. A file that ends inside the user-defined rate
// cells is read with the missing cells empty.
ProjectDocument ParseProjectFile(const std::vector<std::string>& lines);
// Never fails: a line break in a text becomes a single space, and a NUL
// character is left out, so every file it writes reads back.
std::vector<std::string> FormatProjectFile(const ProjectDocument& document);

}  // namespace verrane::project
