#pragma once
// The outcome of a project file operation, as a value the caller reads:
// whether the file was read or written, and if not, why, in the words the
// user is shown (ShowFileError in screens/project/form2.h shows it).
#include <string>
#include <utility>

namespace verrane::project {

enum class FileStatus {
    Done,
    Cancelled,   // the user stopped the command; nothing to tell
    Rejected,    // the file was read but its contents are not a project
    Unreadable,  // the file could not be read at all
    NotWritten,  // the project could not be written
};

struct FileResult {
    FileStatus status = FileStatus::Done;
    std::string message;  // what the user is told; empty when Done or Cancelled

    bool ok() const { return status == FileStatus::Done; }
    static FileResult Failed(FileStatus status, std::string message) { return {status, std::move(message)}; }
};

}  // namespace verrane::project
