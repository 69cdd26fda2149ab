// Fuzz target: num::atof, and the tyre size reader, on arbitrary bytes.
//
// Input: any bytes. The text is the first 255 bytes (a field's size), cut at
// the first NUL; an input longer than that is also read whole, so that texts
// past the reader's 800-digit cut are covered as well.
//
// Properties: never NaN; the same text reads the same bits twice; and the
// value is bit for bit what glibc's strtod gives for the number that starts
// the text, taken by the reading rule (blanks, sign, digits with an optional
// fraction, an exponent with e, E, d or D). strtod is only the slow, exact
// reference here: it is correctly rounded in the C locale, and it is given a
// cleaned copy without the forms it knows and our rule does not (hex, inf,
// nan, the d exponent).
//
// The tyre size reader (ParseTyreSize) on the same text: never reads past
// it; a size it accepts has its parts in their ranges, a measuring rim of
// whole half inches, and reads the same from its own canonical writing
// ("225/45R17 91W XL").
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "core/number_text.h"
#include "core/tyre.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

constexpr std::size_t kFieldChars = 255;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The leading number of text rewritten for strtod; empty when the text
// does not start with a number.
std::string LeadingNumber(const char* text) {
    const char* p = text;
    while (IsBlank(*p)) {
        ++p;
    }
    std::string out;
    if (*p == '+' || *p == '-') {
        out += *p++;
    }
    bool digits = false;
    while (fuzz::IsDigitChar(*p)) {
        out += *p++;
        digits = true;
    }
    if (*p == '.' && (digits || fuzz::IsDigitChar(p[1]))) {
        out += *p++;
        while (fuzz::IsDigitChar(*p)) {
            out += *p++;
            digits = true;
        }
    }
    if (!digits) {
        return std::string();
    }
    if (*p == 'e' || *p == 'E' || *p == 'd' || *p == 'D') {
        const char* q = p + 1;
        std::string exponent = "e";
        if (*q == '+' || *q == '-') {
            exponent += *q++;
        }
        if (fuzz::IsDigitChar(*q)) {
            while (fuzz::IsDigitChar(*q)) {
                exponent += *q++;
            }
            out += exponent;
        }
    }
    return out;
}

void CheckText(const char* text) {
    double first = num::atof(text);
    double second = num::atof(text);
    if (fuzz::Bits(first) != fuzz::Bits(second)) {
        fuzz::ReportText("text", text);
        fuzz::ReportDouble("first", first);
        fuzz::ReportDouble("second", second);
    }
    FUZZ_CHECK(fuzz::Bits(first) == fuzz::Bits(second), "the same text reads the same bits");
    FUZZ_CHECK(!std::isnan(first), "never NaN");

    std::string number = LeadingNumber(text);
    if (number.empty()) {
        if (first != 0) {
            fuzz::ReportText("text", text);
            fuzz::ReportDouble("read", first);
        }
        FUZZ_CHECK(first == 0, "a text without a leading number reads 0");
        return;
    }
    char* end = nullptr;
    double expected = std::strtod(number.c_str(), &end);
    FUZZ_CHECK(end == number.c_str() + number.size(), "the reference reads the whole number");
    if (fuzz::Bits(first) != fuzz::Bits(expected)) {
        fuzz::ReportText("text", text);
        fuzz::ReportText("number", number.c_str());
        fuzz::ReportDouble("read", first);
        fuzz::ReportDouble("expected", expected);
    }
    FUZZ_CHECK(fuzz::Bits(first) == fuzz::Bits(expected), "correctly rounded, bit for bit");
}

// A NUL-terminated copy of exactly its own size, so that reading past the NUL
// is caught by AddressSanitizer.
void CheckTyreSize(const char* text) {
    const TyreSize size = ParseTyreSize(text);
    if (!size.Valid) return;
    FUZZ_CHECK(size.Width >= 0 && size.Width <= 999, "a width of 3 digits");
    FUZZ_CHECK(size.Aspect >= 20 && size.Aspect <= 95, "an aspect ratio with a factor");
    FUZZ_CHECK(size.Rim >= kSmallestRimCode && size.Rim <= kLargestRimCode, "a rim diameter code in range");
    FUZZ_CHECK(!size.HasLoadIndex || (size.LoadIndex >= 0 && size.LoadIndex <= 999), "a load index of 2 or 3 digits");
    const double halfInches = MeasuringRimInches(size) * 2;
    FUZZ_CHECK(halfInches == static_cast<double>(static_cast<long>(halfInches)), "a measuring rim of half inches");
    std::string canonical = std::to_string(size.Width) + "/" + std::to_string(size.Aspect) + "R" + std::to_string(size.Rim);
    if (size.Width < 100) canonical.insert(0, size.Width < 10 ? "00" : "0");
    if (size.HasLoadIndex) {
        canonical += " " + std::string(size.LoadIndex < 10 ? "0" : "") + std::to_string(size.LoadIndex);
        if (size.Speed != '\0') canonical += size.Speed;
    }
    if (size.Reinforced) canonical += " XL";
    const TyreSize again = ParseTyreSize(canonical.c_str());
    FUZZ_CHECK(again.Valid && again.Width == size.Width && again.Aspect == size.Aspect && again.Rim == size.Rim &&
                   again.HasLoadIndex == size.HasLoadIndex && again.LoadIndex == size.LoadIndex &&
                   again.Speed == size.Speed && again.Reinforced == size.Reinforced,
               "a size reads the same from its canonical writing");
}

void CheckBytes(const std::uint8_t* data, std::size_t size) {
    std::unique_ptr<char[]> text(new char[size + 1]);
    std::memcpy(text.get(), data, size);
    text[size] = '\0';
    CheckText(text.get());
    CheckTyreSize(text.get());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static bool nullChecked = false;
    if (!nullChecked) {
        FUZZ_CHECK(fuzz::Bits(num::atof(nullptr)) == fuzz::Bits(0.0), "a null text reads 0");
        nullChecked = true;
    }
    CheckBytes(data, size < kFieldChars ? size : kFieldChars);
    if (size > kFieldChars) {
        CheckBytes(data, size);
    }
    return 0;
}
