#pragma once
// Death and injury rates per wind speed range: default tables and the
// post-mitigation recalculation.
#include <array>
#include <cstddef>
#include <optional>
#include <vector>

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

// The rate grid as the mitigation screen holds it, by wind speed range: the
// values of the default cells, and the user-defined cells (empty when the
// cell is, so that the default applies), all percentages; with the cost of
// one injury and of one death.
struct RateGrid {
    float injuryCost = 0, deathCost = 0;
    std::array<double, 9> defaultInjuryPercent{}, defaultInjuryEffectiveness{}, defaultDeathPercent{},
        defaultDeathEffectiveness{};
    std::array<std::optional<double>, 9> userInjuryPercent{}, userInjuryEffectiveness{}, userDeathPercent{},
        userDeathEffectiveness{};
};

// Whether the pre-mitigation pair of a range (each the user cell when filled,
// else the default) is above 100 %.
bool PairAbove100(const RateGrid& grid, std::size_t range);

// Empties both user-defined percentages of every range whose pair is above
// 100 % (the defaults then apply, and no default pair is above it), so that
// the analysis never uses such a pair. Returns those ranges in order.
std::vector<std::size_t> ClearPairsAbove100(RateGrid& grid);

// The rates in effect (InjuryOutcome, DeathOutcome and the post-mitigation
// percentages): per range the user cell when filled, else the default.
RateResult RatesInEffect(const RateGrid& grid);

}  // namespace verrane::model
