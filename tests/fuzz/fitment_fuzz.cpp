// Fuzz target: the fitment pipeline as the refresh cycle and the diagram run
// it: EvaluateValidity, ComputeOffset, FitDifferences and three
// FormatDifference calls.
//
// Input layout: parts separated by NUL bytes (a NUL cannot occur inside a
// field text anyway), each cut to 255 bytes: InRim, InOffset, InIn, OutRim,
// OutOffset, override; the override is taken whole, so that ComputeOffset's
// own cut to 255 bytes is exercised. With six or more parts the sixth is the
// override;
// with exactly five the OutOffset field itself is passed as the override;
// with fewer the override is a null pointer.
//
// Properties: ComputeOffset leaves the four input fields untouched; every
// text ends with a NUL inside its 256-byte buffer and nothing after that NUL
// in an output buffer is touched; OutOffset is the override (cut to 255)
// when that is not empty, otherwise the "%d" text of the optimal offset
// truncated towards zero (-2147483648 out of range); the widths and the
// optimal offset follow the conversion rule and the formula's order; the
// validity flags follow the field rule; each difference text is the value
// with one decimal and " ﾐﾘ"; same input, same results.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "core/fitment.h"
#include "core/number_text.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

constexpr std::size_t kParts = 6;
constexpr std::size_t kFieldChars = kFieldSize - 1;
constexpr std::size_t kOverridePart = 5;
constexpr std::size_t kDifferenceCount = 3;
constexpr int kDifferenceDecimals = 1;
constexpr char kMillimetreSuffix[] = " \xD0\xD8";
constexpr double kMmWidthThreshold = 100;
constexpr double kMmPerInch = 25.4;

struct Input {
    std::string part[kParts];
    std::size_t partCount;
};

Input Split(const std::uint8_t* data, std::size_t size) {
    Input in{};
    std::size_t start = 0;
    in.partCount = 0;
    for (std::size_t i = 0; i <= size && in.partCount < kParts; ++i) {
        if (i == size || data[i] == 0) {
            std::size_t len = i - start;
            if (len > kFieldChars && in.partCount != kOverridePart) {
                len = kFieldChars;
            }
            in.part[in.partCount++].assign(reinterpret_cast<const char*>(data + start), len);
            start = i + 1;
        }
    }
    return in;
}

struct Outcome {
    Validity validity;
    FitResult fit;
    char outOffset[kFieldSize];
    Differences differences;
    char text[kDifferenceCount][kDifferenceTextSize];
};

std::uint64_t Bits(double v) {
    return fuzz::Bits(v);
}

void FillField(char (&field)[kFieldSize], const std::string& text) {
    std::memset(field, fuzz::kGuard, kFieldSize);
    std::memcpy(field, text.c_str(), text.size() + 1);
}

int FieldRule(const char* text) {
    if (std::strcmp(text, "0") == 0 || std::strcmp(text, "0.0") == 0) {
        return 1;
    }
    return num::atof(text) != 0 ? 1 : 0;
}

double WidthRule(const char* text) {
    double v = num::atof(text);
    return v > kMmWidthThreshold ? v : v * kMmPerInch;
}

bool IsIntegerText(const char* text, long long& value) {
    const char* p = text;
    bool negative = *p == '-';
    if (negative) {
        ++p;
    }
    std::size_t digits = 0;
    long long parsed = 0;
    for (; fuzz::IsDigitChar(*p) && digits < 12; ++p, ++digits) {
        parsed = parsed * 10 + (*p - '0');
    }
    if (*p != '\0' || digits == 0 || (digits > 1 && p[-static_cast<std::ptrdiff_t>(digits)] == '0') ||
        (negative && parsed == 0)) {
        return false;
    }
    value = negative ? -parsed : parsed;
    return true;
}

void CheckValidity(const WheelFields& f, const Validity& v) {
    int inRim = FieldRule(f.InRim);
    int inOffset = FieldRule(f.InOffset);
    int inIn = FieldRule(f.InIn);
    int outRim = FieldRule(f.OutRim);
    int outOffset = FieldRule(f.OutOffset);
    FUZZ_CHECK(IsFieldValid(f.InRim) == inRim && IsFieldValid(f.OutOffset) == outOffset, "the field rule");
    FUZZ_CHECK(v.RefValid == (inRim && inOffset && inIn ? 1 : 0), "RefValid");
    FUZZ_CHECK(v.OutValid == (v.RefValid && outRim && outOffset ? 1 : 0), "OutValid");
    FUZZ_CHECK(v.InputsStorable == (inRim && inOffset && inIn && outRim), "InputsStorable");
}

void CheckOutOffset(const WheelFields& f, const FitResult& fit, const std::string* override) {
    std::size_t n = fuzz::BoundedLength(f.OutOffset, kFieldSize);
    FUZZ_CHECK(n < kFieldSize, "OutOffset is NUL-terminated in its field");
    if (override != nullptr && !override->empty()) {
        if (std::strcmp(f.OutOffset, override->c_str()) != 0) {
            fuzz::ReportText("override", override->c_str());
            fuzz::ReportText("OutOffset", f.OutOffset);
        }
        FUZZ_CHECK(std::strcmp(f.OutOffset, override->c_str()) == 0, "OutOffset is the override");
        return;
    }
    long long shown = 0;
    bool isInteger = IsIntegerText(f.OutOffset, shown);
    double o = fit.OptimalOffset;
    long long expected = (o > -2147483649.0 && o < 2147483648.0) ? static_cast<long long>(std::trunc(o)) : INT32_MIN;
    if (!isInteger || shown != expected) {
        fuzz::ReportDouble("OptimalOffset", o);
        fuzz::ReportText("OutOffset", f.OutOffset);
    }
    FUZZ_CHECK(isInteger, "OutOffset is a %d text");
    FUZZ_CHECK(shown == expected, "OutOffset is the optimal offset truncated towards zero");
}

void CheckDifferenceText(double value, const char* text, std::size_t n) {
    FUZZ_CHECK(n < kDifferenceTextSize, "the difference text fits");
    FUZZ_CHECK(fuzz::BoundedLength(text, kDifferenceTextSize) == n, "the returned length is the text's");
    FUZZ_CHECK(fuzz::GuardIntact(text, n + 1, kDifferenceTextSize), "nothing past the NUL is touched");
    char number[num::kFixedBufferSize];
    std::size_t m = num::FormatFixed(value, kDifferenceDecimals, number, sizeof number);
    std::size_t suffix = sizeof kMillimetreSuffix - 1;
    bool ok = n == m + suffix && std::memcmp(text, number, m) == 0 && std::strcmp(text + m, kMillimetreSuffix) == 0;
    if (!ok) {
        fuzz::ReportDouble("value", value);
        fuzz::ReportText("text", text);
    }
    FUZZ_CHECK(ok, "the value with one decimal, a blank and the millimetre sign");
}

// Runs the pipeline on fresh, guard-filled heap copies of the fields.
Outcome Run(const Input& in) {
    std::unique_ptr<WheelFields> fields(new WheelFields);
    FillField(fields->InRim, in.part[0]);
    FillField(fields->InOffset, in.part[1]);
    FillField(fields->InIn, in.part[2]);
    FillField(fields->OutRim, in.part[3]);
    FillField(fields->OutOffset, in.part[4]);
    WheelFields before;
    std::memcpy(&before, fields.get(), sizeof before);

    Outcome out{};
    out.validity = EvaluateValidity(*fields);
    CheckValidity(*fields, out.validity);

    const char* overrideText = nullptr;
    const std::string* expectedOverride = nullptr;
    std::string cutOverride;
    if (in.partCount > kOverridePart) {
        overrideText = in.part[kOverridePart].c_str();
        cutOverride = in.part[kOverridePart].substr(0, kOverrideMaxChars);
        expectedOverride = &cutOverride;
    } else if (in.partCount == kOverridePart) {
        overrideText = fields->OutOffset;
        expectedOverride = &in.part[kOverridePart - 1];
    }

    // Guard-filled so that a value left unset shows.
    std::memset(&out.fit, fuzz::kGuard, sizeof out.fit);
    ComputeOffset(*fields, overrideText, out.fit);
    FUZZ_CHECK(std::memcmp(fields->InRim, before.InRim, kFieldSize) == 0 &&
                   std::memcmp(fields->InOffset, before.InOffset, kFieldSize) == 0 &&
                   std::memcmp(fields->InIn, before.InIn, kFieldSize) == 0 &&
                   std::memcmp(fields->OutRim, before.OutRim, kFieldSize) == 0,
               "ComputeOffset changes only OutOffset");
    CheckOutOffset(*fields, out.fit, expectedOverride);

    double inWidth = WidthRule(fields->InRim);
    double outWidth = WidthRule(fields->OutRim);
    FUZZ_CHECK(Bits(out.fit.InWidthMm) == Bits(inWidth), "InWidthMm by the width rule");
    FUZZ_CHECK(Bits(out.fit.OutWidthMm) == Bits(outWidth), "OutWidthMm by the width rule");
    double optimal = (outWidth * 0.5 - (inWidth * 0.5 - num::atof(fields->InOffset))) - num::atof(fields->InIn);
    FUZZ_CHECK(Bits(out.fit.OptimalOffset) == Bits(optimal), "OptimalOffset by the formula, in its order");
    std::memcpy(out.outOffset, fields->OutOffset, kFieldSize);

    out.differences = FitDifferences(*fields, out.fit);
    const double values[kDifferenceCount] = {out.differences.Inner, out.differences.Outer, out.differences.Fender};
    for (std::size_t i = 0; i < kDifferenceCount; ++i) {
        // Exactly the text's size on the heap: AddressSanitizer sees overruns.
        std::unique_ptr<char[]> buffer(new char[kDifferenceTextSize]);
        std::memset(buffer.get(), fuzz::kGuard, kDifferenceTextSize);
        std::size_t n = FormatDifference(values[i], *reinterpret_cast<char(*)[kDifferenceTextSize]>(buffer.get()));
        CheckDifferenceText(values[i], buffer.get(), n);
        std::memcpy(out.text[i], buffer.get(), kDifferenceTextSize);
    }
    return out;
}

bool SameOutcome(const Outcome& a, const Outcome& b) {
    bool same = a.validity.RefValid == b.validity.RefValid && a.validity.OutValid == b.validity.OutValid &&
                a.validity.InputsStorable == b.validity.InputsStorable &&
                Bits(a.fit.InWidthMm) == Bits(b.fit.InWidthMm) && Bits(a.fit.OutWidthMm) == Bits(b.fit.OutWidthMm) &&
                Bits(a.fit.OptimalOffset) == Bits(b.fit.OptimalOffset) &&
                std::strcmp(a.outOffset, b.outOffset) == 0 &&
                Bits(a.differences.Inner) == Bits(b.differences.Inner) &&
                Bits(a.differences.Outer) == Bits(b.differences.Outer) &&
                Bits(a.differences.Fender) == Bits(b.differences.Fender);
    for (std::size_t i = 0; i < kDifferenceCount; ++i) {
        same = same && std::strcmp(a.text[i], b.text[i]) == 0;
    }
    return same;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in = Split(data, size);
    Outcome first = Run(in);
    Outcome second = Run(in);
    FUZZ_CHECK(SameOutcome(first, second), "same input, same results");
    return 0;
}
