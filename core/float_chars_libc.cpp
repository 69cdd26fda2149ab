// The seam of float_chars.h on the C library, for the WebAssembly build:
// Emscripten's libc++ has no floating-point from_chars or to_chars, while
// its C library (musl) reads and writes decimals exactly, with big-number
// arithmetic, in the round-to-nearest-even mode the program never changes.
// musl's strtod and printf do not look at the locale (the point is always
// "."), and the texts handed in here are the normalised ones that
// number_text.cpp builds, so strtod's own extras (hexadecimal, "inf", "nan")
// never come up. Linking it costs the WebAssembly module a few kilobytes;
// a second decimal library would cost more and prove no more.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/float_chars.h"

namespace num {
namespace detail {

namespace {
// strtod needs a NUL-terminated text: "0." + 800 digits + sticky digit +
// "e-" + exponent digits fit with room to spare.
constexpr std::size_t kReadBufferSize = 900;
}  // namespace

FloatRead ReadNormalised(const char* first, const char* last, double& value) {
    const std::size_t length = static_cast<std::size_t>(last - first);
    if (length == 0 || length >= kReadBufferSize) return FloatRead::kInvalid;
    char text[kReadBufferSize];
    std::memcpy(text, first, length);
    text[length] = '\0';
    char* end = nullptr;
    errno = 0;
    const double read = std::strtod(text, &end);
    if (end != text + length) return FloatRead::kInvalid;
    // strtod reports ERANGE for subnormal results too; like from_chars,
    // only a result that became infinity or 0 is out of range.
    if (errno == ERANGE && (std::isinf(read) || read == 0.0)) return FloatRead::kOutOfRange;
    value = read;
    return FloatRead::kOk;
}

std::size_t WriteScientific17(double value, char (&out)[kScientificSize]) {
    const int n = std::snprintf(out, kScientificSize, "%.16e", value);
    return n > 0 ? static_cast<std::size_t>(n) : 0;
}

}  // namespace detail
}  // namespace num
