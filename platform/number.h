#pragma once
// Number semantics of the host platform: what counts as a number in a text
// box, the conversions to single, double and 16-bit integer, the format
// patterns of the screens and reports, the general number-to-text form and
// the locale's dates. Everything the program turns from text into a number,
// or back, goes through here.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "model/rounding.h"

namespace verrane::platform {

// Raised when a text is not a number, or a value does not fit a 16-bit integer.
struct ConversionError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// True for surrounding blanks, an optional sign, digits with optional
// thousands separators ("100,000"), an optional decimal part and an optional
// exponent ("1.5E3"). At least one digit is required.
bool IsNumeric(std::string_view text);

// The value of a numeric text; nullopt when the text is not numeric.
std::optional<double> ParseNumber(std::string_view text);

// The value of a number box's text in single precision, as the screens read
// their boxes: nullopt for an empty text or one that is not a number; a value
// beyond the single range becomes an infinity of its sign.
std::optional<float> SingleValue(std::string_view text);

double CDbl(std::string_view text);   // throws ConversionError
float CSng(std::string_view text);    // throws ConversionError; via double, then single
int16_t CInt(double value);           // halves to even; throws ConversionError on overflow
int16_t CInt(std::string_view text);  // CInt(CDbl(text))
int32_t CLng(double value);           // halves to even; throws ConversionError on overflow
using model::RoundHalfEven;           // halves to even, no range check

// What the value of a number box is read into: a single-precision number, or
// a single-precision number then rounded to a 16-bit whole number (halves to
// even). A box accepts, and a project file may carry, only values that fit.
enum class NumberKind { Single, Whole16 };

// Why a numeric text does not fit its kind ("" when it fits, or when the
// text is not numeric at all: that is IsNumeric's business). The reason
// reads as the end of a sentence: "is too large; ...".
std::string NumberRangeProblem(std::string_view text, NumberKind kind);

// Format patterns as the screens and reports use them: '0' a digit always
// shown, '#' a digit shown when significant, ',' thousands grouping, '.' the
// decimal point. Rounding is half away from zero on the value's 15
// significant decimal digits, as the host formatting facility does.
// Examples: "###,###,###,##0", "##0.00", "##0.0", "###,##0.0000", "00", "000".
std::string FormatNumber(double value, std::string_view pattern);

// The results' two formats: dollars ("###,###,###,##0") and the benefit-cost
// ratio ("##0.00"; "Undefined" when there is none).
std::string MoneyText(double value);
std::string RatioText(const std::optional<double>& ratio);

// The shortest text that reads back as the same double (JSON and CSV numbers).
std::string ShortestNumber(double v);

// The general conversion of a number to text: shortest digits that read
// back as the same single (or double, up to 15 significant digits) value,
// no grouping, no trailing zeros: 25, 37.5, 0.6, -2.
std::string GeneralText(float value);
std::string GeneralText(double value);
std::string GeneralText(int value);

// Today's date in the locale's short and long forms (en-US when the
// locale is the plain C locale: 12/8/2026 and Tuesday, December 8, 2026).
std::string ShortDate();
std::string LongDate();

}  // namespace verrane::platform
