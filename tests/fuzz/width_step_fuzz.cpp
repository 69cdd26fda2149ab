// Fuzz target: StepWidthText.
//
// Input layout: the first byte picks the delta ('+' is 1, '-' is -1, any
// other byte one of 0, INT_MIN, INT_MAX, -512, 512, -7); the rest, up to 255
// bytes and cut at the first NUL, is the width text.
//
// Properties: the output is NUL-terminated inside its 256 bytes; a
// millimetre width (reading 50 or more) steps to whole millimetres, never
// more than 500 and never negative; an inch width steps to one decimal and
// never below 0.0; the output reads back, and writing what it reads gives the
// same text again; only the sign of delta matters; up never ends below down;
// same input, same output.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "core/number_text.h"
#include "core/width_step.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

constexpr std::size_t kFieldChars = 255;
constexpr int kOtherDeltas[] = {0, INT_MIN, INT_MAX, -512, 512, -7};
constexpr int kMmDecimals = 0;
constexpr int kInchDecimals = 1;
constexpr double kInchCeiling = 50.5;  // an inch width reads below 50

using Buffer = std::unique_ptr<char[]>;

int DeltaFor(std::uint8_t b) {
    if (b == '+') {
        return 1;
    }
    if (b == '-') {
        return -1;
    }
    return kOtherDeltas[b % (sizeof kOtherDeltas / sizeof kOtherDeltas[0])];
}

// Steps into a guarded heap buffer of exactly kStepTextSize bytes, so that
// AddressSanitizer sees any byte written past it.
Buffer Step(const char* text, int delta) {
    Buffer out(new char[kStepTextSize]);
    std::memset(out.get(), fuzz::kGuard, kStepTextSize);
    StepWidthText(text, delta, *reinterpret_cast<char(*)[kStepTextSize]>(out.get()));
    std::size_t n = fuzz::BoundedLength(out.get(), kStepTextSize);
    FUZZ_CHECK(n < kStepTextSize, "the output is NUL-terminated in its buffer");
    FUZZ_CHECK(fuzz::GuardIntact(out.get(), n + 1, kStepTextSize), "nothing past the NUL is touched");
    return out;
}

void Fail(const char* what, const char* text, int delta, const char* out) {
    fuzz::ReportText("text", text);
    std::fprintf(stderr, "  delta = %d\n", delta);
    fuzz::ReportText("out", out);
    FUZZ_CHECK(false, what);
}

// Digits, and when decimals is 1 a point and one digit: no sign, no
// exponent form.
bool IsPlainText(const char* out, int decimals) {
    const char* p = out;
    std::size_t digits = 0;
    for (; fuzz::IsDigitChar(*p); ++p) {
        ++digits;
    }
    if (digits == 0 || (digits > 1 && out[0] == '0')) {
        return false;
    }
    if (decimals == kInchDecimals) {
        if (p[0] != '.' || !fuzz::IsDigitChar(p[1])) {
            return false;
        }
        p += 2;
    }
    return *p == '\0';
}

void CheckStep(const char* text, int delta) {
    Buffer out = Step(text, delta);
    Buffer again = Step(text, delta);
    if (std::strcmp(out.get(), again.get()) != 0) {
        Fail("same input, same output", text, delta, out.get());
    }
    Buffer bySign = Step(text, delta < 0 ? -1 : 1);
    if (std::strcmp(out.get(), bySign.get()) != 0) {
        Fail("only the sign of delta matters", text, delta, out.get());
    }

    double width = num::atof(text);
    bool millimetres = width >= kStepUnitThreshold;
    int decimals = millimetres ? kMmDecimals : kInchDecimals;
    if (!IsPlainText(out.get(), decimals)) {
        Fail(millimetres ? "a millimetre step shows whole millimetres" : "an inch step shows one decimal", text, delta,
             out.get());
    }
    double stepped = num::atof(out.get());
    if (millimetres && !(stepped >= 0 && stepped <= kStepMmCeiling)) {
        Fail("a millimetre step stays within 0 to 500", text, delta, out.get());
    }
    if (!millimetres && !(stepped >= kStepInchFloor && stepped <= kInchCeiling)) {
        Fail("an inch step stays within 0.0 to 50.5", text, delta, out.get());
    }
    char rewritten[num::kFixedBufferSize];
    num::FormatFixed(stepped, decimals, rewritten, sizeof rewritten);
    if (std::strcmp(rewritten, out.get()) != 0) {
        Fail("the output reads back to itself", text, delta, out.get());
    }
}

void CheckUpDown(const char* text) {
    Buffer up = Step(text, 1);
    Buffer down = Step(text, -1);
    if (!(num::atof(up.get()) >= num::atof(down.get()))) {
        fuzz::ReportText("down", down.get());
        Fail("up never ends below down", text, 1, up.get());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    int delta = DeltaFor(data[0]);
    std::size_t n = size - 1 < kFieldChars ? size - 1 : kFieldChars;
    std::unique_ptr<char[]> text(new char[n + 1]);
    std::memcpy(text.get(), data + 1, n);
    text[n] = '\0';
    CheckStep(text.get(), delta);
    CheckUpDown(text.get());
    return 0;
}
