#pragma once
// Death and injury rates per wind speed range: default tables and the
// post-mitigation recalculation.
#include <array>
#include <cstddef>

namespace verrane::model {

// Threshold of each wind speed range for the hurricane probabilities (mph).
inline constexpr std::array<int, 9> WindRangeThresholds{0, 45, 77, 118, 138, 163, 194, 210, 262};
// The nine wind speed ranges as the screens and reports name them.
inline constexpr std::array<const char*, 9> WindRangeNames{
    "0 - 44", "45 - 77", "78 - 118", "119 - 138", "139 - 163", "164 - 194", "195 - 210", "211 - 262", "263 +"};

// The rate grid of the mitigation screen: two tables (injuries, deaths) of
// five columns of nine cells, one cell per wind speed range. The screen keeps
// them in one text box array; RateCell gives a cell's index in it.
enum class RateTable : std::size_t { Injury = 0, Death = 1 };
enum class RateColumn : std::size_t {
    DefaultPercent = 0,
    UserPercent = 1,
    DefaultEffectiveness = 2,
    UserEffectiveness = 3,
    PostPercent = 4,
};
inline constexpr std::size_t kRateCellCount = 99;
constexpr std::size_t RateCell(RateTable table, RateColumn column, std::size_t range) {
    return 50 * static_cast<std::size_t>(table) + 10 * static_cast<std::size_t>(column) + range;
}
constexpr std::size_t InjuryCell(RateColumn column, std::size_t range) {
    return RateCell(RateTable::Injury, column, range);
}
constexpr std::size_t DeathCell(RateColumn column, std::size_t range) {
    return RateCell(RateTable::Death, column, range);
}
// The four user-defined cells of one range, in the order the project file keeps their columns.
constexpr std::array<std::size_t, 4> UserRateCells(std::size_t range) {
    return {InjuryCell(RateColumn::UserPercent, range), InjuryCell(RateColumn::UserEffectiveness, range),
            DeathCell(RateColumn::UserPercent, range), DeathCell(RateColumn::UserEffectiveness, range)};
}

// Percentages; float so that 0.6 converts back to the text "0.6".
struct DamagePercents {
    std::array<float, 9> injury{}, death{};
};

// constructionType: 1..5 as listed on the building screen; 0, 6 and no
// selection (<0) give zeros.
DamagePercents DefaultDamagePercents(int constructionType, bool minimalWindowArea);

// Percent effectiveness by design wind speed index 1..4; anything else zeros.
std::array<float, 9> DefaultEffectiveness(int designWindSpeedIndex);

// InjuryOutcome / DeathOutcome: cost of one case, pre- and post-mitigation
// fractions per range.
struct Outcome {
    float cost = 0;
    std::array<float, 9> pre{};
    std::array<double, 9> post{};
};

// Per range, the numeric value of the user cell when it is non-empty, else of
// the default cell. Percentages.
struct RateInputs {
    float injuryCost = 0, deathCost = 0;
    std::array<double, 9> injuryPercent{}, injuryEffectiveness{}, deathPercent{}, deathEffectiveness{};
};

// post*Percent are 100 x the post-mitigation fractions; the screen formats
// them with "##0.0".
struct RateResult {
    Outcome injury, death;
    std::array<double, 9> postInjuryPercent{}, postDeathPercent{};
};

// fraction = float(value / 100); post = (1 - effectiveness) x pre in double.
RateResult RecalculateRates(const RateInputs& in);

// True when the two percentages, as single-precision fractions summed in
// single precision, exceed 1 (85 + 15 is exactly 1 and passes).
bool PairExceeds100(double injuryPercent, double deathPercent);

}  // namespace verrane::model
