#pragma once
// `analyze`: opens a project file as File > Open does and runs the analysis
// as the "Benefit Cost Analysis" button of the Project Information screen
// does, then prints the results of the Benefit Cost Analysis screen.
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace verrane {
class App;
}

namespace verrane::cli {

enum class OutputFormat { Text, Json, Csv };

// Opens and analyses one file in a fresh program. Every message the program
// shows goes to `messages`. On success calls `onResults` with the program
// still running and returns true; otherwise returns false with `error` set.
bool AnalyzeProject(const std::filesystem::path& file, std::ostream& messages,
                    const std::function<void(App&)>& onResults, std::string& error);

// The eight results in the order of the screen, top to bottom: the label
// beside each box and the box's text.
struct ResultLine {
    std::string label, text;
};
std::vector<ResultLine> ResultLines(App& app);

// One project as a JSON object on one line (the keys of Form6's report
// values, the full-precision numbers and SelectedCounties, plus "File").
std::string JsonObject(App& app, const std::string& file);
std::string CsvHeader();
std::string CsvLine(App& app, const std::string& file);

// The whole subcommand: returns the exit status (0 when every file was
// analysed, 1 when any was not).
int RunAnalyze(const std::vector<std::string>& files, OutputFormat format, std::ostream& out, std::ostream& err);

}  // namespace verrane::cli
