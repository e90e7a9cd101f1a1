#pragma once
// Where the sensitivity window gets its figures from the running program.
#include "model/sensitivity.h"

namespace verrane {

class Form6;
class ScreenHost;

// The four figures of the analysis the results screen holds. The one place
// that reads them from the screen.
model::Figures FiguresOf(const Form6& results);

// The sensitivity of the project the screens hold, after the results screen
// has run its analysis: the project's file, building name and figures. The
// one-at-a-time re-analyses, breakeven values and interval come from the
// sensitivity run when it is wired in here; until then there are none
// (no variations, no breakeven values, no draws).
model::SensitivityResult CurrentSensitivity(ScreenHost& app);

}  // namespace verrane
