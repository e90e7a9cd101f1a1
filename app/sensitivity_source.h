#pragma once
// Where the sensitivity window gets its figures from the running program.
#include "model/sensitivity.h"

namespace verrane {

class ScreenHost;

// The sensitivity of the project the screens hold, after the results screen
// has run its analysis: every one-at-a-time re-analysis, the breakeven values
// and the interval (RunSensitivity). Throws SensitivityError.
model::SensitivityResult CurrentSensitivity(ScreenHost& app);

}  // namespace verrane
