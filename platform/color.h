#pragma once
#include <cstdint>

namespace verrane::platform {

// Red, green and blue components, as the screens name their colours.
struct Color {
    int r = 0, g = 0, b = 0;
    friend bool operator==(const Color&, const Color&) = default;
};

inline constexpr Color kBlack{0, 0, 0};
inline constexpr Color kRed{255, 0, 0};
inline constexpr Color kGreen{0, 255, 0};
inline constexpr Color kBlue{0, 0, 255};
inline constexpr Color kWhite{255, 255, 255};
// The system "button face" colour the read-only boxes are drawn on.
inline constexpr Color kButtonFace{240, 240, 240};

}  // namespace verrane::platform
