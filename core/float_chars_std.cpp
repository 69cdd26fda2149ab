// The seam of float_chars.h on the C++ library's charconv: exact, and
// locale-independent by definition.
#include <charconv>
#include <system_error>

#include "core/float_chars.h"

namespace num {
namespace detail {

namespace {
constexpr int kScientificPrecision = 16;  // digits after the point
}  // namespace

FloatRead ReadNormalised(const char* first, const char* last, double& value) {
    double read = 0.0;
    const std::from_chars_result res = std::from_chars(first, last, read, std::chars_format::general);
    if (res.ec == std::errc::result_out_of_range) return FloatRead::kOutOfRange;
    if (res.ec != std::errc() || res.ptr != last) return FloatRead::kInvalid;
    value = read;
    return FloatRead::kOk;
}

std::size_t WriteScientific17(double value, char (&out)[kScientificSize]) {
    const std::to_chars_result res =
        std::to_chars(out, out + kScientificSize - 1, value, std::chars_format::scientific, kScientificPrecision);
    *res.ptr = '\0';
    return static_cast<std::size_t>(res.ptr - out);
}

}  // namespace detail
}  // namespace num
