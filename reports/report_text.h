#pragma once
// The texts the reports compute from the project, apart from their layout.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "reports/report_data.h"

namespace verrane::reports {

// Long report, under "County Selection Method:".
std::string CountySelectionText(int selectionMethod, float selectionRadius, const std::string& countyName,
                                const std::string& stateName);

// Long report, under "Selected Counties:": each state's counties under a
// heading of their own, states apart by a "-" line. The long runs of blanks
// are what makes the report's box start those lines.
std::string SelectedCountiesText(int selectionMethod, const std::string& stateName,
                                 const std::vector<CountyRow>& rowsInFipsOrder);

// The same list cut after the last whole county within its first
// `wordsShown` words, ending ", ... and N more" (N the counties left out).
std::string ShortenedCountiesText(const std::vector<CountyRow>& rowsInFipsOrder, size_t wordsShown);

// Short report, beside "Tornado Counties:".
std::string ShortCountiesText(int selectionMethod, float selectionRadius);

// The largest hourly occupancy, each hour taken as a 16-bit whole number
// (halves to the even neighbour). An hour that is empty or not a number
// counts as 0; one too large for 16 bits keeps its rounded value.
int32_t MaxTornadoOccupancy(const std::array<std::string, 24>& hourly);

// The Total column of the F-scale table: the plain sum of the six classes.
double FScaleTotal(const std::array<double, 6>& byClass);

std::string WindowSentence(bool minimalWindowArea);  // long report
std::string DaylightSentence(bool daylightSaving);   // long report
std::string ShortConstructionText(const std::string& constructionType, bool minimalWindowArea);
std::string CityStateText(const std::string& city, const std::string& stateName);
std::string LocationText(const std::string& city, const std::string& countyName, const std::string& stateName);
std::string LifetimeYearsText(const std::string& projectLifetime);  // "in 30 years"

// Long report, among the remarks: "A discount rate of R % was used instead
// of 7 %." when the typed rate is a number other than 7, else empty.
std::string DiscountRateNote(const std::string& discountRate);

// The last line of the reports: the program and the reference data that
// made the figures (platform/provenance).
std::string ProvenanceText();

// A typed number reformatted with a pattern; a text that is not a number
// prints as typed (an empty box stays empty).
std::string FormatTyped(const std::string& typed, const char* pattern);

}  // namespace verrane::reports
