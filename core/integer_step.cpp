#include "core/integer_step.h"

#include <cstring>

#include "core/number_text.h"

namespace {

// How much of the field the up-down control looks at: its 20-character
// buffer, NUL included.
constexpr int kStepperChars = 19;
constexpr char kThousandsSeparator = ',';
constexpr long long kSaturation = 1000000000000LL;  // far outside the range

// U+3000, the ideographic space, which a Japanese input method types.
constexpr unsigned char kIdeographicSpace[] = {0xE3, 0x80, 0x80};

// Bytes of the UTF-8 sequence that starts with `lead` (1 for a stray byte).
std::size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

bool IsAsciiBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// What the control reads: the first 19 characters (UTF-16 units: a 4-byte
// sequence counts 2), without their commas.
std::size_t StepperText(const char* field, char (&out)[kFieldSize]) {
    std::size_t n = 0;
    int units = 0;
    const char* p = field;
    while (*p != '\0' && units < kStepperChars) {
        std::size_t length = SequenceLength(static_cast<unsigned char>(*p));
        for (std::size_t k = 1; k < length; ++k) {
            if (p[k] == '\0') length = k;  // a cut sequence ends with the text
        }
        units += length == 4 ? 2 : 1;
        if (*p != kThousandsSeparator) {
            std::memcpy(out + n, p, length);
            n += length;
        }
        p += length;
    }
    out[n] = '\0';
    return n;
}

// wcstol's whole-text rule: blanks, a sign, digits and nothing else; an
// empty text is 0; a text of blanks or a sign alone is no number.
bool ReadStepperNumber(const char* field, int& value) {
    char text[kFieldSize];
    const std::size_t length = StepperText(field, text);
    if (length == 0) {
        value = 0;
        return true;
    }
    const char* p = text;
    for (;;) {
        if (IsAsciiBlank(*p)) {
            ++p;
        } else if (std::memcmp(p, kIdeographicSpace, sizeof kIdeographicSpace) == 0) {
            p += sizeof kIdeographicSpace;
        } else {
            break;
        }
    }
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    if (*p < '0' || *p > '9') return false;
    long long magnitude = 0;
    while (*p >= '0' && *p <= '9') {
        if (magnitude < kSaturation) magnitude = magnitude * 10 + (*p - '0');
        ++p;
    }
    if (*p != '\0') return false;
    const long long number = negative ? -magnitude : magnitude;
    if (number < kIntegerStepMin || number > kIntegerStepMax) return false;
    value = static_cast<int>(number);
    return true;
}

}  // namespace

IntegerStep StepIntegerText(char (&field)[kFieldSize], int delta, int position) {
    field[kFieldSize - 1] = '\0';
    if (position < kIntegerStepMin) position = kIntegerStepMin;
    if (position > kIntegerStepMax) position = kIntegerStepMax;
    ReadStepperNumber(field, position);
    int moved = delta < 0 ? position - 1 : position + 1;
    if (moved < kIntegerStepMin) moved = kIntegerStepMin;
    if (moved > kIntegerStepMax) moved = kIntegerStepMax;
    if (moved == position) return IntegerStep{false, position};
    num::FormatInt(moved, field, kFieldSize);
    return IntegerStep{true, moved};
}
