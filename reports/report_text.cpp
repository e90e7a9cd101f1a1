#include "reports/report_text.h"

#include <optional>

#include "platform/number.h"
#include "platform/provenance.h"
#include "reports/format_bridge.h"

namespace verrane::reports {

std::string CountySelectionText(int selectionMethod, float selectionRadius, const std::string& countyName,
                                const std::string& stateName) {
    switch (selectionMethod) {
        case -1:
            return "Only " + countyName + " County, " + stateName;
        case 0:
            return fmt::GeneralText(selectionRadius) + " mile region around " + countyName + " County, " + stateName;
        case 1:
            return "Entire state";
        default:
            return "User selected counties";
    }
}

namespace {

// What one county adds to the list: its name, after its state's heading
// when the state changes.
std::string CountyPiece(const CountyRow* previous, const CountyRow& row) {
    const std::string heading(" Counties:");
    if (!previous) return row.first + heading + std::string(125, ' ') + row.second;
    if (row.first == previous->first) return ", " + row.second;
    return std::string(125, ' ') + "-" + std::string(124, ' ') + row.first + heading + std::string(102, ' ') +
           row.second;
}

size_t CountWords(const std::string& text) {
    size_t n = 0;
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] != ' ' && (i == 0 || text[i - 1] == ' ')) ++n;
    return n;
}

}  // namespace

std::string SelectedCountiesText(int selectionMethod, const std::string& stateName,
                                 const std::vector<CountyRow>& rowsInFipsOrder) {
    if (selectionMethod == 1) return "Entire state of " + stateName;
    std::string text;
    for (size_t i = 0; i < rowsInFipsOrder.size(); ++i)
        text += CountyPiece(i ? &rowsInFipsOrder[i - 1] : nullptr, rowsInFipsOrder[i]);
    return text;
}

std::string ShortenedCountiesText(const std::vector<CountyRow>& rowsInFipsOrder, size_t wordsShown) {
    std::string text;
    size_t words = 0;
    size_t k = 0;
    for (; k < rowsInFipsOrder.size(); ++k) {
        std::string piece = CountyPiece(k ? &rowsInFipsOrder[k - 1] : nullptr, rowsInFipsOrder[k]);
        // ", Name" goes on the word before it.
        const bool joins = !text.empty() && text.back() != ' ' && piece.front() != ' ';
        words += CountWords(piece) - (joins ? 1 : 0);
        if (words > wordsShown) break;
        text += piece;
    }
    if (k == rowsInFipsOrder.size()) return text;
    return text + (text.empty() ? "" : ", ") + "... and " + std::to_string(rowsInFipsOrder.size() - k) + " more";
}

std::string ShortCountiesText(int selectionMethod, float selectionRadius) {
    switch (selectionMethod) {
        case -1:
            return "Only target county.";
        case 0:
            return fmt::GeneralText(selectionRadius) + " miles around target county.";
        case 1:
            return "Entire state";
        default:
            return "User selected counties";
    }
}

namespace {

int32_t HourValue(const std::string& text) {
    auto value = platform::ParseNumber(text);
    if (!value) return 0;
    try {
        return platform::CInt(*value);
    } catch (const platform::ConversionError&) {
        try {
            return platform::CLng(*value);
        } catch (const platform::ConversionError&) {
            return *value < 0 ? INT32_MIN : INT32_MAX;
        }
    }
}

}  // namespace

int32_t MaxTornadoOccupancy(const std::array<std::string, 24>& hourly) {
    int32_t max = HourValue(hourly[0]);
    for (size_t h = 1; h < hourly.size(); ++h) {
        int32_t v = HourValue(hourly[h]);
        if (v > max) max = v;
    }
    return max;
}

double FScaleTotal(const std::array<double, 6>& byClass) {
    double sum = 0;
    for (double v : byClass) sum += v;
    return sum;
}

std::string WindowSentence(bool minimalWindowArea) {
    return minimalWindowArea ? "Building has minimal window area of less than 7% of wall area."
                             : "Building has a window area greater than 7% of wall area.";
}

std::string DaylightSentence(bool daylightSaving) {
    return daylightSaving ? "with Daylight Saving Time" : "with no Daylight Saving Time";
}

std::string ShortConstructionText(const std::string& constructionType, bool minimalWindowArea) {
    return constructionType + (minimalWindowArea ? " & < 7% window area." : " & > 7% window area.");
}

std::string CityStateText(const std::string& city, const std::string& stateName) { return city + ", " + stateName; }

std::string LocationText(const std::string& city, const std::string& countyName, const std::string& stateName) {
    return city + " in " + countyName + " County, " + stateName;
}

std::string LifetimeYearsText(const std::string& projectLifetime) { return "in " + projectLifetime + " years"; }

std::string FormatTyped(const std::string& typed, const char* pattern) {
    auto value = platform::ParseNumber(typed);
    if (!value) return typed;
    return fmt::FormatNumber(*value, pattern);
}

std::string DiscountRateNote(const std::string& discountRate) {
    const std::optional<double> rate = platform::ParseNumber(discountRate);
    if (!rate || *rate == 7) return {};
    const size_t first = discountRate.find_first_not_of(' ');
    const size_t last = discountRate.find_last_not_of(' ');
    return "A discount rate of " + discountRate.substr(first, last - first + 1) + " % was used instead of 7 %.";
}

std::string ProvenanceText() { return platform::ProvenanceLine(platform::CurrentProvenance()); }

}  // namespace verrane::reports
