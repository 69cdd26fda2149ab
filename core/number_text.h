// Number reading and writing, the way every part of Rimbeacon sees numbers.
//
// The C library is not used for either direction: its rules differ between
// platforms (Wine's printf shows 0.25 as "0.2" and 60.5 as "60", strtod takes
// hexadecimal, "inf" and "nan"). These functions are locale-independent,
// allocation-free and never throw.
#pragma once

#include <cstddef>
#include <cstdint>

namespace num {

// Reads the leading number of a NUL-terminated text.
//
//   leading white space (blank, \t, \n, \v, \f, \r) is skipped;
//   then [+-] digits [. digits] | [+-] . digits;
//   then an optional exponent: e, E, d or D, an optional sign, digits.
// Reading stops at the first other character; what was read so far counts.
// A text that does not begin with such a number reads 0. Correctly rounded.
// A magnitude too large for a double reads as infinity with its sign, one too
// small reads as 0 (with its sign). Never returns NaN.
//
//   atof("6.5")   == 6.5        atof("7x")    == 7
//   atof("1d2")   == 100        atof(".5")    == 0.5
//   atof("  5")   == 5          atof("\t-3")  == -3
//   atof("0x10")  == 0          atof("inf")   == 0      atof("nan") == 0
//   atof("abc")   == 0          atof("")      == 0
//   atof("1e999") == +inf       atof("-1e999") == -inf  atof("1e-999") == 0
//   atof("１２")  == 0  (full-width digits are not digits)
// A null pointer reads 0.
double atof(const char* text);

// Truncates towards zero to a signed 32-bit integer. A value outside the
// signed 32-bit range, or NaN, gives INT32_MIN (-2147483648). No undefined
// behaviour for any double.
//   TruncateToInt32(48.9) == 48       TruncateToInt32(-3.7) == -3
//   TruncateToInt32(2147483648.0) == INT32_MIN
//   TruncateToInt32(-2147483649.0) == INT32_MIN
//   TruncateToInt32(NaN) == INT32_MIN
std::int32_t TruncateToInt32(double value);

// Longest text FormatFixed writes in fixed notation, NUL excluded. A value
// whose fixed text would be longer (magnitudes from about 1e238 up) is
// written in exponent form instead.
constexpr std::size_t kFixedMaxChars = 240;

// Writes value like printf("%.<decimals>f"), with Rimbeacon's rounding: the
// value is first written to 17 significant digits, then that digit string is
// rounded at the last shown place, a following digit of 5 or more raising the
// magnitude (an exact half rounds away from zero). A negative value that
// rounds to zero keeps its minus sign.
//
//   FormatFixed(0.25, 1)   -> "0.3"      FormatFixed(-0.25, 1) -> "-0.3"
//   FormatFixed(0.35, 1)   -> "0.3"      (0.35's double lies below 0.35)
//   FormatFixed(9.95, 1)   -> "9.9"      (17 digits: 9.9499999999999993)
//   FormatFixed(60.5, 0)   -> "61"       FormatFixed(210.5, 0) -> "211"
//   FormatFixed(-0.04, 1)  -> "-0.0"     FormatFixed(0.5, 0)   -> "1"
//
// Values whose fixed text would be longer than kFixedMaxChars are written in
// exponent form with the same number of decimals, rounded the same way:
// "1.0e+300" and "-1.0e+250" with one decimal, "1e+300" with none.
// Infinity is "inf" or "-inf", NaN is "nan".
//
// decimals must be 0 to 17 (others are clamped). Writes at most size - 1
// characters and a NUL (the text is cut if size is too small; size 0 writes
// nothing). Returns the length written, NUL excluded. A buffer of
// kFixedBufferSize bytes always holds the whole text.
constexpr std::size_t kFixedBufferSize = kFixedMaxChars + 1;
std::size_t FormatFixed(double value, int decimals, char* out, std::size_t size);

// Writes a signed 32-bit integer in decimal, like wsprintfA("%d"): at most 11
// characters and a NUL. Returns the length, NUL excluded. Cuts like
// FormatFixed when size is too small.
std::size_t FormatInt(std::int32_t value, char* out, std::size_t size);

}  // namespace num
