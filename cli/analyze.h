#pragma once
// `analyze`: opens a project file as File > Open does and runs the analysis
// as the "Benefit Cost Analysis" button of the Project Information screen
// does, then prints the results of the Benefit Cost Analysis screen.
#include <array>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "model/analysis.h"
#include "project/document_analysis.h"
#include "screens/analysis/result_rows.h"

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

// What analyze prints of one analysed project: the result, the texts and
// captions of the eight boxes (by box index) and the selected counties.
struct AnalysisOutput {
    model::AnalysisResult result;
    ResultTexts texts;
    std::array<std::string, 8> captions;
    std::vector<std::string> selectedCounties;
};
// What the results screen of a running program holds.
AnalysisOutput OutputOf(App& app);
// The same for the analysis of a document (as the window gives it).
AnalysisOutput OutputOf(const project::DocumentAnalysis& analysis, const project::ProjectDocument& document);

// The eight results in the order of the screen, top to bottom: the label
// beside each box and the box's text.
struct ResultLine {
    std::string label, text;
};
std::vector<ResultLine> ResultLines(const AnalysisOutput& output);

// One project as a JSON object on one line (the keys of Form6's report
// values, the full-precision numbers and SelectedCounties, plus "File").
std::string JsonObject(const AnalysisOutput& output, const std::string& file);
std::string CsvHeader();
std::string CsvLine(const AnalysisOutput& output, const std::string& file);

// The whole subcommand: returns the exit status (0 when every file was
// analysed, 1 when any was not).
int RunAnalyze(const std::vector<std::string>& files, OutputFormat format, std::ostream& out, std::ostream& err);

}  // namespace verrane::cli
