#pragma once
// Helpers shared by the map sources; not part of the map interface.
#include <cctype>
#include <cstddef>
#include <string_view>

namespace verrane::platform::detail {

// Equal without regard to ASCII case: field names and the LIKE keyword.
inline bool iequals(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace verrane::platform::detail
