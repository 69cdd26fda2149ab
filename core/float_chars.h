// The two floating-point primitives under the number rules of
// number_text.h: reading a normalised decimal text and writing a double to
// 17 significant digits. Everything else of number reading and writing is
// done by hand in number_text.cpp; only these two need the exact big-number
// arithmetic that a library does well.
//
// Two builds of this seam give the same results, and tools/web diff checks
// that they do:
//   float_chars_std.cpp   std::from_chars and std::to_chars (the desktop
//                         and native builds);
//   float_chars_libc.cpp  strtod and snprintf("%.16e") of the C library, for
//                         the WebAssembly build, whose libc++ has neither
//                         floating-point from_chars nor to_chars.
// CMake picks one (RIMBEACON_FLOAT_CHARS). No platform code.
#pragma once

#include <cstddef>

namespace num {
namespace detail {

enum class FloatRead {
    kOk,          // value holds the correctly rounded number
    kOutOfRange,  // it rounds to infinity, or a non-zero number rounds to 0;
                  // value is left as it was
    kInvalid,     // not a number at all; value is left as it was
};

// Reads the whole of [first, last): "0." digits, optionally "e", "-" and
// exponent digits, as number_text.cpp builds it ("0.65e1", "0.123e-4").
// Correctly rounded, ties to even; locale-independent. A subnormal result
// is kOk. At most 900 characters.
//   "0.65e1" -> 6.5   "0.1e-309" -> 1e-310 (subnormal, kOk)
//   "0.2e-323" -> kOutOfRange (below half the smallest subnormal)
//   "0.17976931348623159e309" -> kOutOfRange
FloatRead ReadNormalised(const char* first, const char* last, double& value);

// Size of the buffer WriteScientific17 needs: "d.dddddddddddddddde-308" and
// a NUL, with room to spare.
constexpr std::size_t kScientificSize = 32;

// Writes the finite, non-negative value with 17 significant digits in
// scientific form, "d.<16 digits>e<sign><at least 2 digits>", correctly
// rounded from its exact binary value, ties to even. Returns the length,
// NUL excluded (a NUL follows).
//   0.1    -> "1.0000000000000001e-01"
//   6.5    -> "6.5000000000000000e+00"
//   5e-324 -> "4.9406564584124654e-324"
std::size_t WriteScientific17(double value, char (&out)[kScientificSize]);

}  // namespace detail
}  // namespace num
