#pragma once
// The order in which the analysis screen lists its results, top to bottom:
// tornado benefits, hurricane benefits, total benefits, annualized cost, net
// benefits, benefit-cost ratio, lives saved, injuries avoided. Each row pairs
// the result box (Form6.Text1 index) with the caption beside it (Form6.Label2
// index).
#include <array>
#include <string>
#include <utility>

#include "model/analysis.h"

namespace verrane {

inline constexpr std::array<std::pair<int, int>, 8> kResultRows{
    {{0, 1}, {1, 11}, {5, 3}, {2, 2}, {3, 4}, {4, 0}, {6, 5}, {7, 6}}};

// The result boxes (Form6.Text1 indices).
enum ResultBox : std::size_t {
    kTornadoBenefitsBox = 0,
    kHurricaneBenefitsBox = 1,
    kAnnualizedCostBox = 2,
    kNetBenefitsBox = 3,
    kBenefitCostRatioBox = 4,
    kTotalBenefitsBox = 5,
    kLivesSavedBox = 6,
    kInjuriesAvoidedBox = 7,
};

// The texts of the eight boxes, by box index, as the screen formats them
// (money to the dollar, the ratio to two places or " Undefined", the lifetime
// totals to two places, each with a leading blank).
using ResultTexts = std::array<std::string, 8>;
ResultTexts FormatResults(const model::AnalysisResult& result);

// The caption beside each box (its Form6.Label2 index, and its text by box
// index); the two lifetime totals name the lifetime as typed.
int ResultCaptionLabel(std::size_t box);
std::array<std::string, 8> ResultCaptions(const std::string& lifetime);

}  // namespace verrane
