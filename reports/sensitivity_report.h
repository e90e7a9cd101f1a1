#pragma once
// The sensitivity document: the project's figures, the swing chart of the
// benefit-cost ratio by input, every variation in a table, the breakeven
// values and the 90 % interval from the tornado record. It is a report of the
// program's engine (platform/report.h): the engine pages it, prints its
// footer and page numbers and paints it on any paged device (a PDF file, a
// printer, an image for the screen), so the preview, the print-out and the
// exported file are one document.
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "model/sensitivity.h"
#include "platform/report.h"

class QPainter;
class QPrinter;
class QRectF;

namespace verrane::reports {

// A US Letter page in twips, as the reports use.
inline constexpr int kSensitivityPageWidth = platform::report::kLetterWidth;
inline constexpr int kSensitivityPageHeight = platform::report::kLetterHeight;

enum class SensitivityPart { Heading, BaseFigures, Chart, Breakeven, Interval, TableHeader, TableRow, TableNote };

// One part of the document as placed on a page, in twips from the paper's
// top; `row` is the variation a table row shows.
struct PlacedPart {
    SensitivityPart part;
    int top = 0, height = 0;
    size_t row = 0;
    int bottom() const { return top + height; }
};

// The parts in order, page by page: the table continues on as many pages as
// it needs, under its heading again.
std::vector<std::vector<PlacedPart>> LayOutSensitivity(const model::SensitivityResult& result);

// Paints page `index` (from 0) with a painter already begun on a page: the
// Letter page is scaled to the device's page, keeping its proportions.
void PaintSensitivityPage(QPainter& painter, const model::SensitivityResult& result, int index);
int SensitivityPageCount(const model::SensitivityResult& result);

// The swing chart alone, in `area` of the painter's coordinates; `point` is
// the length of a typographic point there (20 on the page in twips; about
// 1.33 on a 96 dpi screen).
void PaintSwingChart(QPainter& painter, const QRectF& area, const model::SensitivityResult& result, double point);
// The height the chart asks for in points.
double SwingChartHeight(const model::SensitivityResult& result);

// The texts the window and the page share. A breakeven value is "$337,480"
// or "5.23 %", "none" or "none between 0 and 20 %" when there is none, and a
// dash when no re-analyses were run to search for it.
std::string BreakevenCostText(const model::SensitivityResult& result);
std::string BreakevenRateText(const model::SensitivityResult& result);
// A percentile of the interval's benefits or ratio; a dash when no draws were made.
std::string PercentileText(const model::SensitivityResult& result, double value, bool ratio);
std::string IntervalSentence(const model::SensitivityResult& result);
// One sentence on the bar of the largest swing: "The region moves the ratio
// most, from 0.67 (250 miles) to 2.93 (the county alone); the ratio crosses 1
// between 50 miles and 100 miles." The crossing is between neighbouring values
// in the order they were run; with none, the sentence says on which side of 1
// the ratio stays. Empty when no bar has a ratio.
std::string SwingSentence(const model::SensitivityResult& result);
// The notes on inputs left unvaried, one to a line.
std::string NotesText(const model::SensitivityResult& result);

// Writes the document as a PDF, atomically: a failed write leaves whatever
// was at `file` untouched and says why in `error`. Works with no display.
bool WriteSensitivityPdf(const model::SensitivityResult& result, const std::filesystem::path& file, std::string& error);
// Prints on a printer already set up (after its dialog, or the preview's).
bool PrintSensitivity(const model::SensitivityResult& result, QPrinter& printer, std::string& error);

}  // namespace verrane::reports
