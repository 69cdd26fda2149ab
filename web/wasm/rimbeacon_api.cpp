#include "web/wasm/rimbeacon_api.h"

#include <cstddef>
#include <cstring>

#include "core/fitment.h"
#include "core/number_text.h"
#include "core/protrusion.h"
#include "core/width_step.h"
#include "diagram/diagram_geometry.h"

namespace {

constexpr int kFieldCount = 7;  // the five wheel fields, spacer and bulge
constexpr int kColumnCount = 4;
constexpr int kDifferenceCount = 3;
constexpr int kCheckTextCount = 4;
constexpr int kAnswerCount = 2;

// The integer steppers: range, and how much of the field the desktop's
// up-down control looks at (its 20-character buffer, NUL included).
constexpr int kStepperMin = -512;
constexpr int kStepperMax = 512;
constexpr int kStepperChars = 19;
constexpr char kThousandsSeparator = ',';
constexpr long long kSaturation = 1000000000000LL;  // far outside the range

// The diagram's " ﾐﾘ" in code page 932, and the same in UTF-8
// (U+FF90 U+FF98).
constexpr char kSuffixCp932[] = " \xD0\xD8";
constexpr char kSuffixUtf8[] = " \xEF\xBE\x90\xEF\xBE\x98";
constexpr std::size_t kSuffixCp932Length = sizeof kSuffixCp932 - 1;
constexpr std::size_t kDifferenceUtf8Size = kDifferenceTextSize + sizeof kSuffixUtf8;

// U+3000, the ideographic space, which a Japanese input method types.
constexpr unsigned char kIdeographicSpace[] = {0xE3, 0x80, 0x80};

struct Drawing {
    std::int32_t columns[kColumnCount];
    char differences[kDifferenceCount][kDifferenceUtf8Size];
};

struct Check {
    char texts[kCheckTextCount][kDifferenceUtf8Size];
    char answers[kAnswerCount][num::kFixedBufferSize];
};

WheelFields gFields;
char gSpacer[kFieldSize];
char gBulge[kFieldSize];
FitResult gFit;
Drawing gDrawing;
Check gCheck;
char gScratch[kFieldSize];
int gStepperPosition[kFieldCount];

char* FieldAt(int index) {
    switch (index) {
    case 0: return gFields.InRim;
    case 1: return gFields.InOffset;
    case 2: return gFields.InIn;
    case 3: return gFields.OutRim;
    case 4: return gFields.OutOffset;
    case kSpacerField: return gSpacer;
    case kBulgeField: return gBulge;
    default: return nullptr;
    }
}

double ReadField(char (&field)[kFieldSize]) {
    field[kFieldSize - 1] = '\0';
    return num::atof(field);
}

int VerdictCode(Verdict verdict) {
    switch (verdict) {
    case Verdict::WheelOut: return kVerdictWheelOut;
    case Verdict::TyreOut: return kVerdictTyreOut;
    case Verdict::TyreTolerated: return kVerdictTyreTolerated;
    case Verdict::Ok: return kVerdictOk;
    case Verdict::None: break;
    }
    return kVerdictNone;
}

void WriteAnswer(const OffsetAnswer& answer, char (&out)[num::kFixedBufferSize]) {
    out[0] = '\0';
    if (answer.Found) num::FormatFixed(answer.Offset, 0, out, sizeof out);
}

// The fender column less a distance in millimetres at half scale, as the
// desktop's diagram computes it: a column out of the 32-bit range (or from
// a NaN) is the far left, others are clamped to the drawable range.
std::int32_t ColumnInsideFender(double mm) {
    const std::int32_t pixels = num::TruncateToInt32(mm * kPixelsPerMm);
    const long long column = static_cast<long long>(kFenderX) - pixels;
    if (pixels == INT32_MIN || column > INT32_MAX || column < INT32_MIN) return kColumnFarLeft;
    if (column < kColumnFarLeft) return kColumnFarLeft;
    if (column > kColumnFarRight) return kColumnFarRight;
    return static_cast<std::int32_t>(column);
}

void WriteDifference(double value, char (&out)[kDifferenceUtf8Size]) {
    char text[kDifferenceTextSize];
    const std::size_t length = FormatDifference(value, text);
    const std::size_t number = length - kSuffixCp932Length;
    std::memcpy(out, text, number);
    std::memcpy(out + number, kSuffixUtf8, sizeof kSuffixUtf8);
}

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

// What the up-down control reads: the first 19 characters (UTF-16 units:
// a 4-byte sequence counts 2), without their commas.
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
    if (number < kStepperMin || number > kStepperMax) return false;
    value = static_cast<int>(number);
    return true;
}

}  // namespace

RB_EXPORT char* rb_field(int index) {
    return FieldAt(index);
}

RB_EXPORT char* rb_scratch() {
    return gScratch;
}

RB_EXPORT int rb_validity() {
    const Validity v = EvaluateValidity(gFields);
    return (v.RefValid ? kRefValidBit : 0) | (v.OutValid ? kOutValidBit : 0) |
           (v.InputsStorable ? kInputsStorableBit : 0);
}

RB_EXPORT void rb_compute_offset(int withOverride) {
    gScratch[kFieldSize - 1] = '\0';
    ComputeOffset(gFields, withOverride ? gScratch : nullptr, gFit);
}

RB_EXPORT double rb_optimal_offset() {
    return gFit.OptimalOffset;
}

RB_EXPORT void rb_draw() {
    gFit.InWidthMm = WidthToMm(gFields.InRim);
    const double clearance = num::atof(gFields.InIn);
    gDrawing.columns[kGreyInner] = ColumnInsideFender(clearance + gFit.InWidthMm);
    gDrawing.columns[kGreyOuter] = ColumnInsideFender(clearance);

    gFit.OutWidthMm = WidthToMm(gFields.OutRim);
    const double spacer = ReadField(gSpacer);
    const double target = EffectiveOffset(num::atof(gFields.OutOffset), spacer);
    gDrawing.columns[kRedInner] = ColumnInsideFender(target - gFit.OptimalOffset + gFit.OutWidthMm);
    gDrawing.columns[kRedOuter] = ColumnInsideFender(target - gFit.OptimalOffset);

    const Differences d = FitDifferencesWithSpacer(gFields, gFit, spacer);
    WriteDifference(d.Inner, gDrawing.differences[kDifferenceInner]);
    WriteDifference(d.Outer, gDrawing.differences[kDifferenceOuter]);
    WriteDifference(d.Fender, gDrawing.differences[kDifferenceFender]);
}

RB_EXPORT std::int32_t rb_column(int index) {
    return index >= 0 && index < kColumnCount ? gDrawing.columns[index] : 0;
}

RB_EXPORT const char* rb_difference(int index) {
    return index >= 0 && index < kDifferenceCount ? gDrawing.differences[index] : "";
}

RB_EXPORT int rb_check(int vehicle) {
    const Vehicle kind = vehicle == kVehiclePassenger ? Vehicle::Passenger : Vehicle::Other;
    const double spacer = ReadField(gSpacer);
    const double bulge = ReadField(gBulge);
    const Differences d = FitDifferencesWithSpacer(gFields, gFit, spacer);
    const Protrusion p = CheckProtrusion(d.Fender, bulge, kind);
    WriteDifference(p.Wheel, gCheck.texts[kCheckWheel]);
    WriteDifference(p.Tyre, gCheck.texts[kCheckTyre]);
    WriteDifference(p.Margin, gCheck.texts[kCheckMargin]);
    gCheck.texts[kCheckEffective][0] = '\0';
    if (spacer != 0) {
        WriteDifference(EffectiveOffset(num::atof(gFields.OutOffset), spacer), gCheck.texts[kCheckEffective]);
    }
    WriteAnswer(SmallestOffsetInside(gFit.OptimalOffset, spacer), gCheck.answers[kAnswerInside]);
    WriteAnswer(SmallestOffsetWithinRule(gFit.OptimalOffset, spacer, bulge, kind), gCheck.answers[kAnswerWithinRule]);
    return VerdictCode(p.Result);
}

RB_EXPORT const char* rb_check_text(int index) {
    return index >= 0 && index < kCheckTextCount ? gCheck.texts[index] : "";
}

RB_EXPORT const char* rb_answer(int index) {
    return index >= 0 && index < kAnswerCount ? gCheck.answers[index] : "";
}

RB_EXPORT void rb_step_width(int index, int delta) {
    char* field = FieldAt(index);
    if (field == nullptr) return;
    field[kFieldSize - 1] = '\0';
    char stepped[kStepTextSize];
    StepWidthText(field, delta, stepped);
    static_assert(kStepTextSize <= kFieldSize, "a stepped width fits its field");
    std::memcpy(field, stepped, kStepTextSize);
}

RB_EXPORT int rb_step_integer(int index, int delta) {
    char* field = FieldAt(index);
    if (field == nullptr) return 0;
    field[kFieldSize - 1] = '\0';
    int& position = gStepperPosition[index];
    ReadStepperNumber(field, position);
    int moved = delta < 0 ? position - 1 : position + 1;
    if (moved < kStepperMin) moved = kStepperMin;
    if (moved > kStepperMax) moved = kStepperMax;
    if (moved == position) return 0;
    position = moved;
    num::FormatInt(position, field, kFieldSize);
    return 1;
}

RB_EXPORT double rb_read_number() {
    gScratch[kFieldSize - 1] = '\0';
    return num::atof(gScratch);
}

RB_EXPORT int rb_number_valid() {
    gScratch[kFieldSize - 1] = '\0';
    return IsFieldValid(gScratch);
}
