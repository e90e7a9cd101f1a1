#pragma once
// Project files are text in the Windows-1252 code page, one value per line,
// each line ended by CR LF. Inside the program text is UTF-8.
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace verrane::platform {

struct TextFileError : std::runtime_error {
    using std::runtime_error::runtime_error;
};
// The file could not be reached at all: missing, no permission, a folder,
// a pipe or a device. Its text says which.
struct FileAccessError : TextFileError {
    using TextFileError::TextFileError;
};

std::string Utf8ToCp1252(const std::string& utf8);  // unmappable characters become '?'
std::string Cp1252ToUtf8(const std::string& bytes);

// A text as one line of a file: each line break (CR LF, CR or LF) becomes a
// single space and NUL characters are left out, so it reads back as one value.
std::string OneLine(std::string_view text);

// Largest file the reader accepts; a project file is a few kilobytes.
inline constexpr std::uintmax_t kMaxTextFileBytes = std::uintmax_t{4} * 1024 * 1024;

// Reads every line (without its CR LF; a bare LF also ends a line). Throws
// FileAccessError when the file cannot be opened or is not a regular file
// (a pipe or a device is never opened for reading, so it cannot block), and
// TextFileError naming the file when it is larger than kMaxTextFileBytes or
// holds NUL bytes (not a text file).
std::vector<std::string> ReadTextLines(const std::filesystem::path& file);

// Writes the lines, each followed by CR LF, through a uniquely named
// temporary file in the same folder that is renamed over the target only
// when it is complete, so a failed write leaves any old file intact. A link
// is followed and the file it leads to is replaced, with its permissions.
// A read-only file, or anything that is not a regular file, is refused.
// Throws TextFileError naming the file and the cause.
void WriteTextLinesAtomically(const std::filesystem::path& file, const std::vector<std::string>& lines);

}  // namespace verrane::platform
