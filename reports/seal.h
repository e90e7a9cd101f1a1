#pragma once
// The program's own seal: a ring lettered "VERRANE" around a shelter roof
// with wind lines. Drawn here so the bitmap in data/ can be regenerated.

#include <filesystem>
#include <string>

#include <QImage>

namespace verrane::reports {

QImage DrawSeal(int size);

// Writes the seal as a 24-bit bitmap unless the file exists already.
bool WriteSealIfMissing(const std::filesystem::path& file, int size, std::string* error);

// Reads the seal bitmap; a null image and a message when it cannot be read.
QImage LoadSeal(const std::filesystem::path& file, std::string* message);

}  // namespace verrane::reports
