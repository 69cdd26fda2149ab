#include "core/fitment.h"

#include <cstring>

#include "core/number_text.h"

namespace {

// Above this a width text is a tyre width in millimetres, otherwise a rim
// width in inches.
constexpr double kMmWidthThreshold = 100;
constexpr double kMmPerInch = 25.4;
constexpr double kHalf = 0.5;

// The suffix " ﾐﾘ" in code page 932, and in UTF-8.
constexpr char kMillimetreSuffix[] = " \xD0\xD8";
constexpr char kMillimetreSuffixUtf8[] = " \xEF\xBE\x90\xEF\xBE\x98";

bool IsZeroText(const char* text) {
    return std::strcmp(text, "0") == 0 || std::strcmp(text, "0.0") == 0;
}

// "%.01f" and the suffix; kSize holds the longest number and the suffix.
template <std::size_t kSize, std::size_t kSuffixSize>
std::size_t FormatWithSuffix(double value, const char (&suffix)[kSuffixSize], char (&out)[kSize]) {
    constexpr int kDecimals = 1;
    static_assert(num::kFixedMaxChars + kSuffixSize <= kSize, "the longest number and the suffix fit the text");
    const std::size_t n = num::FormatFixed(value, kDecimals, out, kSize);
    std::memcpy(out + n, suffix, kSuffixSize);
    return n + kSuffixSize - 1;
}

}  // namespace

double WidthToMm(const char* text) {
    double v = num::atof(text);
    if (v > kMmWidthThreshold) {
        return v;
    }
    return v * kMmPerInch;
}

int IsFieldValid(const char* text) {
    if (text == nullptr) {
        return 0;
    }
    if (IsZeroText(text)) {
        return 1;
    }
    return num::atof(text) != 0 ? 1 : 0;
}

Validity EvaluateValidity(const WheelFields& fields) {
    int inRim = IsFieldValid(fields.InRim);
    int inOffset = IsFieldValid(fields.InOffset);
    int inIn = IsFieldValid(fields.InIn);
    int outRim = IsFieldValid(fields.OutRim);
    int outOffset = IsFieldValid(fields.OutOffset);

    Validity v{};
    v.RefValid = (inRim && inOffset && inIn) ? 1 : 0;
    v.OutValid = (v.RefValid && outRim && outOffset) ? 1 : 0;
    v.InputsStorable = inRim && inOffset && inIn && outRim;
    return v;
}

void ComputeOffset(WheelFields& fields, const char* overrideText, FitResult& fit) {
    fit.InWidthMm = WidthToMm(fields.InRim);
    fit.OutWidthMm = WidthToMm(fields.OutRim);
    fit.OptimalOffset =
        (fit.OutWidthMm * kHalf - (fit.InWidthMm * kHalf - num::atof(fields.InOffset))) - num::atof(fields.InIn);

    // Built aside first: the override may be the OutOffset field itself.
    char text[kFieldSize];
    if (overrideText != nullptr && overrideText[0] != '\0') {
        std::size_t n = 0;
        while (n < kOverrideMaxChars && overrideText[n] != '\0') {
            ++n;
        }
        std::memcpy(text, overrideText, n);
        text[n] = '\0';
    } else {
        num::FormatInt(num::TruncateToInt32(fit.OptimalOffset), text, sizeof text);
    }
    std::memcpy(fields.OutOffset, text, sizeof text);
}

Differences FitDifferences(const WheelFields& fields, const FitResult& fit) {
    return FitDifferencesAt(fields, fit, num::atof(fields.OutOffset));
}

Differences FitDifferencesAt(const WheelFields& fields, const FitResult& fit, double targetOffset) {
    double inWidth = WidthToMm(fields.InRim);
    double outWidth = WidthToMm(fields.OutRim);
    double inIn = num::atof(fields.InIn);
    double t = fit.OptimalOffset - targetOffset;

    Differences d{};
    d.Inner = ((outWidth - inWidth) - t) - inIn;
    d.Outer = inIn + t;
    d.Fender = t;
    return d;
}

std::size_t FormatDifference(double value, char (&out)[kDifferenceTextSize]) {
    return FormatWithSuffix(value, kMillimetreSuffix, out);
}

std::size_t FormatDifferenceUtf8(double value, char (&out)[kDifferenceUtf8Size]) {
    return FormatWithSuffix(value, kMillimetreSuffixUtf8, out);
}
