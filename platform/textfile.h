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

std::string Utf8ToCp1252(const std::string& utf8);  // unmappable characters become '?'
std::string Cp1252ToUtf8(const std::string& bytes);

// A text as one line of a file: each line break (CR LF, CR or LF) becomes a
// single space and NUL characters are left out, so it reads back as one value.
std::string OneLine(std::string_view text);

// Largest file the reader accepts; a project file is a few kilobytes.
inline constexpr std::uintmax_t kMaxTextFileBytes = 4 * 1024 * 1024;

// Reads every line (without its CR LF; a bare LF also ends a line). Throws
// TextFileError naming the file when it cannot be read, is larger than
// kMaxTextFileBytes or holds NUL bytes (not a text file).
std::vector<std::string> ReadTextLines(const std::filesystem::path& file);

// Writes the lines, each followed by CR LF, to a temporary file beside the
// target and renames it over the target, so a failed write leaves any old
// file intact. Throws TextFileError naming the file and the cause.
void WriteTextLinesAtomically(const std::filesystem::path& file, const std::vector<std::string>& lines);

}  // namespace verrane::platform
