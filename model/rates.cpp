#include "model/rates.h"

namespace verrane::model {

namespace {
using Row = std::array<float, 9>;

// [construction type 1..5][window box ticked]
constexpr Row kInjury[5][2] = {
    {{0, 0.6f, 2, 10, 30, 85, 75, 70, 70}, {0, 0.4f, 1, 7, 20, 85, 75, 70, 70}},
    {{0, 0.6f, 2, 15, 85, 75, 70, 70, 70}, {0, 0.4f, 1, 10, 85, 75, 70, 70, 70}},
    {{0, 1, 3, 85, 75, 70, 70, 70, 70}, {0, 0.6f, 2, 85, 75, 70, 70, 70, 70}},
    {{0, 1, 5, 10, 45, 75, 75, 75, 75}, {0, 0.6f, 3, 7, 30, 75, 75, 75, 75}},
    {{0, 1, 7, 90, 80, 75, 75, 75, 75}, {0, 0.6f, 4, 90, 80, 75, 75, 75, 75}},
};
constexpr Row kDeath[5][2] = {
    {{0, 0, 0.3f, 1, 3, 15, 25, 30, 30}, {0, 0, 0.3f, 0.5f, 2, 15, 25, 30, 30}},
    {{0, 0, 0.3f, 2, 15, 25, 30, 30, 30}, {0, 0, 0.3f, 1, 15, 25, 30, 30, 30}},
    {{0, 0, 0.3f, 15, 25, 30, 30, 30, 30}, {0, 0, 0.3f, 15, 25, 30, 30, 30, 30}},
    {{0, 0, 0.3f, 2, 5, 25, 25, 25, 25}, {0, 0, 0.3f, 1, 3, 25, 25, 25, 25}},
    {{0, 0, 1, 10, 20, 25, 25, 25, 25}, {0, 0, 0.7f, 10, 20, 25, 25, 25, 25}},
};
// Design wind speeds 130, 160, 200, 250 mph.
constexpr Row kEffectiveness[4] = {
    {100, 100, 100, 98, 85, 55, 20, 0, 0},
    {100, 100, 100, 100, 98, 85, 55, 20, 0},
    {100, 100, 100, 100, 100, 100, 98, 85, 55},
    {100, 100, 100, 100, 100, 100, 100, 98, 85},
};

float Fraction(double percent) { return static_cast<float>(percent / 100.0); }
}  // namespace

DamagePercents DefaultDamagePercents(int constructionType, bool minimalWindowArea) {
    DamagePercents p;
    if (constructionType < 1 || constructionType > 5) return p;
    p.injury = kInjury[constructionType - 1][minimalWindowArea ? 1 : 0];
    p.death = kDeath[constructionType - 1][minimalWindowArea ? 1 : 0];
    return p;
}

std::array<float, 9> DefaultEffectiveness(int designWindSpeedIndex) {
    if (designWindSpeedIndex < 1 || designWindSpeedIndex > 4) return {};
    return kEffectiveness[designWindSpeedIndex - 1];
}

RateResult RecalculateRates(const RateInputs& in) {
    RateResult r;
    r.injury.cost = in.injuryCost;
    r.death.cost = in.deathCost;
    // Both fractions are rounded to single precision before the product: that
    // decides values near a display boundary (3 % at 85 % shows 0.4).
    auto range = [](double percent, double effectiveness, Outcome& o, double& postPercent, int k) {
        const float pre = Fraction(percent);
        const float eff = Fraction(effectiveness);
        o.pre[k] = pre;
        o.post[k] = (1.0 - static_cast<double>(eff)) * static_cast<double>(pre);
        postPercent = 100.0 * o.post[k];
    };
    for (int k = 0; k < 9; ++k) {
        range(in.injuryPercent[k], in.injuryEffectiveness[k], r.injury, r.postInjuryPercent[k], k);
        range(in.deathPercent[k], in.deathEffectiveness[k], r.death, r.postDeathPercent[k], k);
    }
    return r;
}

bool PairExceeds100(double injuryPercent, double deathPercent) {
    const float sum = Fraction(injuryPercent) + Fraction(deathPercent);
    return sum > 1.0f;
}

namespace {
double InEffect(const std::optional<double>& user, double fallback) { return user ? *user : fallback; }
}  // namespace

bool PairAbove100(const RateGrid& g, std::size_t k) {
    return PairExceeds100(InEffect(g.userInjuryPercent[k], g.defaultInjuryPercent[k]),
                          InEffect(g.userDeathPercent[k], g.defaultDeathPercent[k]));
}

std::vector<std::size_t> ClearPairsAbove100(RateGrid& grid) {
    std::vector<std::size_t> cleared;
    for (std::size_t k = 0; k < 9; ++k) {
        if (!PairAbove100(grid, k)) continue;
        grid.userInjuryPercent[k].reset();
        grid.userDeathPercent[k].reset();
        cleared.push_back(k);
    }
    return cleared;
}

RateResult RatesInEffect(const RateGrid& g) {
    RateInputs in;
    in.injuryCost = g.injuryCost;
    in.deathCost = g.deathCost;
    for (std::size_t k = 0; k < 9; ++k) {
        in.injuryPercent[k] = InEffect(g.userInjuryPercent[k], g.defaultInjuryPercent[k]);
        in.injuryEffectiveness[k] = InEffect(g.userInjuryEffectiveness[k], g.defaultInjuryEffectiveness[k]);
        in.deathPercent[k] = InEffect(g.userDeathPercent[k], g.defaultDeathPercent[k]);
        in.deathEffectiveness[k] = InEffect(g.userDeathEffectiveness[k], g.defaultDeathEffectiveness[k]);
    }
    return RecalculateRates(in);
}

}  // namespace verrane::model
