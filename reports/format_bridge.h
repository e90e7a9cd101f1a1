#pragma once
// The number formats, general number text and dates the reports print, in
// one place so the reports do not depend on where the platform keeps them.

#include <string>
#include <string_view>

#include "platform/number.h"

namespace verrane::reports::fmt {

inline std::string FormatNumber(double value, std::string_view pattern) {
    return platform::FormatNumber(value, pattern);
}
inline std::string GeneralText(float value) { return platform::GeneralText(value); }
inline std::string GeneralText(double value) { return platform::GeneralText(value); }
inline std::string ShortDate() { return platform::ShortDate(); }
inline std::string LongDate() { return platform::LongDate(); }

}  // namespace verrane::reports::fmt
