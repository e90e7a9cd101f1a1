#include "platform/number.h"

#include <QDate>
#include <QLocale>

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace verrane::platform {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Strips blanks and thousands separators; returns the plain decimal text, or
// nullopt when the text is not a number.
std::optional<std::string> CleanNumber(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && IsBlank(text[b])) ++b;
    while (e > b && IsBlank(text[e - 1])) --e;
    std::string out;
    size_t i = b;
    if (i < e && (text[i] == '+' || text[i] == '-')) out += text[i++];
    int digits = 0;
    while (i < e && (IsDigit(text[i]) || (text[i] == ',' && digits > 0))) {
        if (text[i] != ',') {
            out += text[i];
            ++digits;
        }
        ++i;
    }
    if (i < e && text[i] == '.') {
        out += '.';
        ++i;
        while (i < e && IsDigit(text[i])) {
            out += text[i++];
            ++digits;
        }
    }
    if (digits == 0) return std::nullopt;
    if (i < e && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
        out += 'e';
        ++i;
        if (i < e && (text[i] == '+' || text[i] == '-')) out += text[i++];
        int expDigits = 0;
        while (i < e && IsDigit(text[i])) {
            out += text[i++];
            ++expDigits;
        }
        if (expDigits == 0) return std::nullopt;
    }
    if (i != e) return std::nullopt;
    return out;
}

// The value as 15 significant decimal digits and the decimal exponent of
// the first digit (value = d.dddd x 10^exp).
void Decimal15(double value, std::string& digits, int& exponent) {
    char buf[64];
    // As printf's "%.14e" writes it.
    const auto end = std::to_chars(buf, buf + sizeof buf - 1, std::fabs(value), std::chars_format::scientific, 14).ptr;
    *end = '\0';
    digits.clear();
    const char* p = buf;
    for (; *p && *p != 'e'; ++p)
        if (IsDigit(*p)) digits += *p;
    exponent = (*p == 'e') ? std::atoi(p + 1) : 0;
}

std::string Group(const std::string& intDigits) {
    std::string out;
    const int n = static_cast<int>(intDigits.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) out += ',';
        out += intDigits[i];
    }
    return out;
}

// Digits and exponent to the plain form: fixed notation inside the range the
// host uses, otherwise "1.5E+07".
std::string PlainFromDigits(bool negative, std::string digits, int exponent, int fixedUpTo) {
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    if (digits == "0") return "0";
    std::string out = negative ? "-" : "";
    if (exponent >= -5 && exponent < fixedUpTo) {
        if (exponent < 0) {
            out += "0.";
            out.append(static_cast<size_t>(-exponent - 1), '0');
            out += digits;
        } else {
            const size_t intLen = static_cast<size_t>(exponent) + 1;
            if (digits.size() <= intLen) {
                out += digits;
                out.append(intLen - digits.size(), '0');
            } else {
                out += digits.substr(0, intLen);
                out += '.';
                out += digits.substr(intLen);
            }
        }
        return out;
    }
    out += digits[0];
    if (digits.size() > 1) out += "." + digits.substr(1);
    char exp[16];
    std::snprintf(exp, sizeof exp, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return out + exp;
}

}  // namespace

std::optional<double> ParseNumber(std::string_view text) {
    auto clean = CleanNumber(text);
    if (!clean) return std::nullopt;
    char* end = nullptr;
    const double v = std::strtod(clean->c_str(), &end);
    if (!std::isfinite(v)) return std::nullopt;
    return v;
}

bool IsNumeric(std::string_view text) { return ParseNumber(text).has_value(); }

std::optional<float> SingleValue(std::string_view text) {
    const auto v = ParseNumber(text);
    if (!v) return std::nullopt;
    if (std::fabs(*v) > FLT_MAX)
        return *v < 0 ? -std::numeric_limits<float>::infinity() : std::numeric_limits<float>::infinity();
    return static_cast<float>(*v);
}

double CDbl(std::string_view text) {
    auto v = ParseNumber(text);
    if (!v) throw ConversionError("\"" + std::string(text) + "\" is not a number");
    return *v;
}

float CSng(std::string_view text) {
    const double d = CDbl(text);
    if (std::fabs(d) > 3.4028234663852886e38)
        throw ConversionError("\"" + std::string(text) + "\" is too large for a single-precision number");
    return static_cast<float>(d);
}

int16_t CInt(double value) {
    const double r = RoundHalfEven(value);
    if (!(r >= -32768.0 && r <= 32767.0))
        throw ConversionError("the value " + GeneralText(value) + " does not fit a 16-bit whole number");
    return static_cast<int16_t>(r);
}

int16_t CInt(std::string_view text) { return CInt(CDbl(text)); }

std::string NumberRangeProblem(std::string_view text, NumberKind kind) {
    const auto v = ParseNumber(text);
    if (!v) return "";
    if (std::fabs(*v) > 3.4028234663852886e38) return "is too large; enter a number from -3.402823E+38 to 3.402823E+38";
    if (kind == NumberKind::Whole16) {
        const double r = RoundHalfEven(static_cast<double>(static_cast<float>(*v)));
        if (!(r >= -32768.0 && r <= 32767.0)) return "is too large; enter a whole number from -32768 to 32767";
    }
    return "";
}

int32_t CLng(double value) {
    const double r = RoundHalfEven(value);
    if (!(r >= -2147483648.0 && r <= 2147483647.0))
        throw ConversionError("the value " + GeneralText(value) + " does not fit a 32-bit whole number");
    return static_cast<int32_t>(r);
}

std::string FormatNumber(double value, std::string_view pattern) {
    const size_t dot = pattern.find('.');
    const std::string_view intPat = pattern.substr(0, dot);
    const std::string_view fracPat = dot == std::string_view::npos ? std::string_view{} : pattern.substr(dot + 1);
    int minInt = 0;
    bool grouping = false;
    for (char c : intPat) {
        if (c == '0') ++minInt;
        if (c == ',') grouping = true;
    }
    int requiredDecimals = 0, optionalDecimals = 0;
    for (char c : fracPat) {
        if (c == '0') ++requiredDecimals;
        if (c == '#') ++optionalDecimals;
    }
    const int decimals = requiredDecimals + optionalDecimals;
    if (!std::isfinite(value)) return std::isnan(value) ? "NaN" : (value < 0 ? "-Infinity" : "Infinity");

    std::string d;
    int exp = 0;
    Decimal15(value, d, exp);
    // All digits up to the last decimal place, rounded half away from zero.
    const int keep = exp + 1 + decimals;  // number of significant digits kept
    std::string kept;
    if (value == 0.0 || keep < 0) {
        kept = "";
    } else if (keep >= static_cast<int>(d.size())) {
        kept = d + std::string(static_cast<size_t>(keep) - d.size(), '0');
    } else {
        kept = d.substr(0, static_cast<size_t>(keep));
        if (d[static_cast<size_t>(keep)] >= '5') {
            int i = keep - 1;
            for (; i >= 0; --i) {
                if (kept[static_cast<size_t>(i)] == '9') {
                    kept[static_cast<size_t>(i)] = '0';
                } else {
                    ++kept[static_cast<size_t>(i)];
                    break;
                }
            }
            if (i < 0) kept.insert(kept.begin(), '1');
        }
    }
    // kept holds the value x 10^decimals as an integer digit string.
    if (static_cast<int>(kept.size()) < decimals + 1)
        kept.insert(0, static_cast<size_t>(decimals + 1) - kept.size(), '0');
    std::string intDigits = kept.substr(0, kept.size() - static_cast<size_t>(decimals));
    std::string fracDigits = kept.substr(kept.size() - static_cast<size_t>(decimals));
    size_t firstNonZero = intDigits.find_first_not_of('0');
    intDigits = firstNonZero == std::string::npos ? "" : intDigits.substr(firstNonZero);
    if (static_cast<int>(intDigits.size()) < minInt)
        intDigits.insert(0, static_cast<size_t>(minInt) - intDigits.size(), '0');
    while (optionalDecimals > 0 && !fracDigits.empty() && fracDigits.back() == '0') {
        fracDigits.pop_back();
        --optionalDecimals;
    }
    std::string out = value < 0 ? "-" : "";
    out += grouping ? Group(intDigits) : intDigits;
    if (!fracPat.empty() && (!fracDigits.empty() || requiredDecimals > 0 || dot != std::string_view::npos))
        out += "." + fracDigits;
    return out;
}

std::string GeneralText(float value) {
    if (!std::isfinite(value)) return std::isnan(value) ? "NaN" : (value < 0 ? "-Infinity" : "Infinity");
    if (value == 0.0f) return "0";
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific);
    std::string s(buf, res.ptr);
    const size_t e = s.find('e');
    std::string digits;
    for (size_t i = 0; i < e; ++i)
        if (IsDigit(s[i])) digits += s[i];
    return PlainFromDigits(value < 0, digits, std::atoi(s.c_str() + e + 1), 7);
}

std::string GeneralText(double value) {
    if (!std::isfinite(value)) return std::isnan(value) ? "NaN" : (value < 0 ? "-Infinity" : "Infinity");
    if (value == 0.0) return "0";
    std::string d;
    int exp = 0;
    Decimal15(value, d, exp);
    return PlainFromDigits(value < 0, d, exp, 15);
}

std::string GeneralText(int value) { return std::to_string(value); }

namespace {
QLocale DateLocale() {
    QLocale loc = QLocale::system();
    if (loc.language() == QLocale::C) loc = QLocale(QLocale::English, QLocale::UnitedStates);
    return loc;
}
}  // namespace

std::string ShortDate() {
    QLocale loc = DateLocale();
    QString fmt = loc.dateFormat(QLocale::ShortFormat);
    // Four-digit years on printed reports, whatever the locale abbreviates.
    if (!fmt.contains("yyyy")) fmt.replace("yy", "yyyy");
    return loc.toString(QDate::currentDate(), fmt).toStdString();
}

std::string LongDate() {
    QLocale loc = DateLocale();
    return loc.toString(QDate::currentDate(), QLocale::LongFormat).toStdString();
}

std::string MoneyText(double value) { return FormatNumber(value, "###,###,###,##0"); }

std::string RatioText(const std::optional<double>& ratio) {
    return ratio && std::isfinite(*ratio) ? FormatNumber(*ratio, "##0.00") : "Undefined";
}

std::string ShortestNumber(double v) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

}  // namespace verrane::platform
