#include "core/tyre.h"

#include <cmath>
#include <cstring>
#include <initializer_list>

#include "core/number_text.h"

namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kPercent = 100;

// The theoretical rim's factor x in hundredths, by the smallest aspect
// ratio of its row (ISO 4000-1): 95-75, 70-60, 55-50, 45, 40-30, 25-20.
struct RimFactor {
    int FromAspect;
    int Hundredths;
};
constexpr RimFactor kRimFactors[] = {{75, 70}, {60, 75}, {50, 80}, {45, 85}, {30, 90}, {20, 92}};
constexpr int kLargestAspect = 95;
constexpr int kSmallestAspect = 20;
// Half inches of x × width / 25.4, worked in whole numbers: 2 x W / 25.4 =
// (x in hundredths) × W / 1270.
constexpr int kHalfInchDivisor = 1270;
constexpr double kHalfInch = 0.5;

constexpr int kWidthDigits = 3;
constexpr int kAspectDigits = 2;
constexpr int kRimDigits = 2;
constexpr int kFewestLoadDigits = 2;
constexpr int kMostLoadDigits = 3;
// The speed symbols of ISO 4000-1 that a single letter stands for.
constexpr char kSpeedSymbols[] = "BCDEFGJKLMNPQRSTUHVWY";
constexpr const char* kReinforcedMarks[] = {"XL", "RF", "REINF", "REINFORCED"};
constexpr char kExtra[] = "EXTRA";
constexpr char kLoad[] = "LOAD";

// The load index table (ISO 4000-1 Annex, JATMA): the load in kg of each
// index from kFirstLoadIndex up.
constexpr int kFirstLoadIndex = 60;
constexpr int kLoadTable[] = {
    250,  257,  265,  272,  280,  290,  300,  307,  315,  325,   // 60-69
    335,  345,  355,  365,  375,  387,  400,  412,  425,  437,   // 70-79
    450,  462,  475,  487,  500,  515,  530,  545,  560,  580,   // 80-89
    600,  615,  630,  650,  670,  690,  710,  730,  750,  775,   // 90-99
    800,  825,  850,  875,  900,  925,  950,  975,  1000, 1030,  // 100-109
    1060, 1090, 1120, 1150, 1180, 1215, 1250, 1285, 1320, 1360,  // 110-119
    1400,                                                        // 120
};
constexpr int kLoadTableSize = static_cast<int>(sizeof kLoadTable / sizeof kLoadTable[0]);

// The speedometer (細目告示 第148条, 第226条): at a shown 40 km/h the true
// speed lies from 10 (40 - 6) / 11 up to 100 × 40 / 94, or 100 × 40 / 90
// for a vehicle made before 2007.
constexpr double kShownSpeed = 40;
constexpr double kSlowestTrueSpeed = 10 * (kShownSpeed - 6) / 11;
constexpr double kFastestTrueSpeed = 100 * kShownSpeed / 94;
constexpr double kFastestTrueSpeedBefore2007 = 100 * kShownSpeed / 90;

// Each tyre of an axle carries half its load.
constexpr double kTyresPerAxle = 2;

// ------------------------------------------------------------ reading

// The text in ASCII capitals, full-width forms (U+FF01 to U+FF5E, U+3000)
// as their ASCII ones, tabs as blanks; false for any other non-ASCII
// character.
bool Normalise(const char* text, char (&out)[kFieldSize]) {
    constexpr unsigned char kLead3 = 0xE3;
    constexpr unsigned char kLeadFullWidth = 0xEF;
    constexpr unsigned int kFullWidthOffset = 0xFEE0;
    std::size_t n = 0;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    for (std::size_t read = 0; *p != '\0' && read < kFieldSize - 1 && n < kFieldSize - 1;) {
        unsigned int c = *p;
        if (c < 0x80) {
            ++p;
            ++read;
        } else if (c == kLead3 && p[1] == 0x80 && p[2] == 0x80) {  // U+3000
            c = ' ';
            p += 3;
            read += 3;
        } else if (c == kLeadFullWidth && (p[1] == 0xBC || p[1] == 0xBD) && p[2] >= 0x80 && p[2] <= 0xBF) {
            const unsigned int code = 0xF000u | ((p[1] & 0x3Fu) << 6) | (p[2] & 0x3Fu);
            if (code < 0xFF01 || code > 0xFF5E) return false;
            c = code - kFullWidthOffset;
            p += 3;
            read += 3;
        } else {
            return false;
        }
        if (c == '\t') c = ' ';
        if (c >= 'a' && c <= 'z') c = c - 'a' + 'A';
        out[n++] = static_cast<char>(c);
    }
    out[n] = '\0';
    return true;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

void SkipBlanks(const char*& p) {
    while (*p == ' ') ++p;
}

// Exactly `digits` digits, and no more.
bool ReadDigits(const char*& p, int digits, int& value) {
    value = 0;
    int n = 0;
    while (IsDigit(*p)) {
        value = value * 10 + (*p - '0');
        ++p;
        if (++n > digits) return false;
    }
    return n == digits;
}

// One blank-separated word, into `word` (cut at its size).
bool NextWord(const char*& p, char (&word)[kFieldSize]) {
    SkipBlanks(p);
    std::size_t n = 0;
    while (*p != '\0' && *p != ' ') word[n++] = *p++;
    word[n] = '\0';
    return n > 0;
}

bool IsReinforcedMark(const char* word) {
    for (const char* mark : kReinforcedMarks) {
        if (std::strcmp(word, mark) == 0) return true;
    }
    return false;
}

bool IsSpeedSymbol(const char* word) {
    return word[0] != '\0' && word[1] == '\0' && std::strchr(kSpeedSymbols, word[0]) != nullptr;
}

// "91", "91W": a load index of 2 or 3 digits, and a speed symbol after it.
bool ReadLoadAndSpeed(const char* word, TyreSize& size) {
    int digits = 0;
    int index = 0;
    while (IsDigit(word[digits])) {
        if (digits >= kMostLoadDigits) return false;
        index = index * 10 + (word[digits++] - '0');
    }
    if (digits < kFewestLoadDigits) return false;
    if (word[digits] != '\0' && !IsSpeedSymbol(word + digits)) return false;
    size.HasLoadIndex = true;
    size.LoadIndex = index;
    size.Speed = word[digits];
    return true;
}

// What may follow the rim diameter: the load index and speed symbol, and a
// reinforced mark, each once, in either order.
bool ReadService(const char* p, TyreSize& size) {
    char word[kFieldSize];
    while (NextWord(p, word)) {
        if (IsReinforcedMark(word) && !size.Reinforced) {
            size.Reinforced = true;
        } else if (std::strcmp(word, kExtra) == 0 && !size.Reinforced) {
            if (!NextWord(p, word) || std::strcmp(word, kLoad) != 0) return false;
            size.Reinforced = true;
        } else if (!size.HasLoadIndex && ReadLoadAndSpeed(word, size)) {
            // A speed symbol may stand apart: "91 W".
            const char* after = p;
            if (size.Speed == '\0' && NextWord(after, word) && IsSpeedSymbol(word)) {
                size.Speed = word[0];
                p = after;
            }
        } else {
            return false;
        }
    }
    return true;
}

int RimFactorHundredths(int aspect) {
    for (const RimFactor& row : kRimFactors) {
        if (aspect >= row.FromAspect) return row.Hundredths;
    }
    return 0;
}

}  // namespace

TyreSize ParseTyreSize(const char* text) {
    const TyreSize none{};
    char normal[kFieldSize];
    if (text == nullptr || !Normalise(text, normal)) return none;
    TyreSize size{};
    const char* p = normal;
    SkipBlanks(p);
    if (*p == 'P') ++p;
    if (!ReadDigits(p, kWidthDigits, size.Width)) return none;
    SkipBlanks(p);
    if (*p++ != '/') return none;
    SkipBlanks(p);
    if (!ReadDigits(p, kAspectDigits, size.Aspect)) return none;
    SkipBlanks(p);
    if (p[0] == 'Z' && p[1] == 'R') {
        p += 2;
    } else if (p[0] == 'R') {
        ++p;
    } else {
        return none;
    }
    SkipBlanks(p);
    if (!ReadDigits(p, kRimDigits, size.Rim)) return none;
    if (*p != '\0' && *p != ' ') return none;
    if (size.Aspect < kSmallestAspect || size.Aspect > kLargestAspect) return none;
    if (size.Rim < kSmallestRimCode || size.Rim > kLargestRimCode) return none;
    if (!ReadService(p, size)) return none;
    size.Valid = true;
    return size;
}

double MeasuringRimInches(const TyreSize& size) {
    if (!size.Valid) return 0;
    const int halfInches = (2 * RimFactorHundredths(size.Aspect) * size.Width + kHalfInchDivisor) / (2 * kHalfInchDivisor);
    return halfInches * kHalfInch;
}

double SectionWidthMm(const TyreSize& size, double rimWidthMm) {
    return size.Width + kSectionPerRimWidth * (rimWidthMm - MeasuringRimInches(size) * kMmPerInch);
}

double SidewallBeyondRimMm(const TyreSize& size, double rimWidthMm) {
    return SectionWidthMm(size, rimWidthMm) / 2 - rimWidthMm / 2 - kFlangeLipMm;
}

double OuterDiameterMm(const TyreSize& size) {
    return size.Rim * kMmPerInch + 2.0 * size.Width * size.Aspect / kPercent;
}

int LoadCapacityKg(int loadIndex) {
    const int row = loadIndex - kFirstLoadIndex;
    return row >= 0 && row < kLoadTableSize ? kLoadTable[row] : 0;
}

SpeedRange SpeedometerLimits(Made made) {
    return SpeedRange{kSlowestTrueSpeed, made == Made::From2007 ? kFastestTrueSpeed : kFastestTrueSpeedBefore2007};
}

Speedometer CheckSpeedometer(const TyreSize& current, const TyreSize& next, Made made) {
    if (!current.Valid || !next.Valid) return Speedometer{Outcome::Missing, 0, 0};
    const double currentDiameter = OuterDiameterMm(current);
    const double nextDiameter = OuterDiameterMm(next);
    const double trueSpeed = kShownSpeed * nextDiameter / currentDiameter;
    const SpeedRange range = SpeedometerLimits(made);
    const bool passes = trueSpeed >= range.Slowest && trueSpeed <= range.Fastest;
    return Speedometer{passes ? Outcome::Pass : Outcome::Fail, trueSpeed,
                       (nextDiameter - currentDiameter) / currentDiameter * kPercent};
}

Load CheckLoad(const TyreSize& current, const TyreSize& next, double axleLoadKg) {
    Load load{Outcome::Missing, 0, 0, false, 0};
    if (current.Valid && current.HasLoadIndex) load.CurrentCapacity = LoadCapacityKg(current.LoadIndex);
    if (next.Valid && next.HasLoadIndex) load.Capacity = LoadCapacityKg(next.LoadIndex);
    if (std::isfinite(axleLoadKg) && axleLoadKg > 0) {
        load.WithAxle = true;
        load.Required = axleLoadKg / kTyresPerAxle;
        if (load.Capacity > 0) load.Result = load.Capacity >= load.Required ? Outcome::Pass : Outcome::Fail;
    } else if (load.Capacity > 0 && load.CurrentCapacity > 0 && load.Capacity >= load.CurrentCapacity) {
        load.Result = Outcome::Pass;
    }
    return load;
}

Bulge BulgeFor(const char* typedBulge, const TyreSize& next, double rimWidthMm) {
    char normal[kFieldSize];
    const bool ascii = typedBulge != nullptr && Normalise(typedBulge, normal);
    const char* p = ascii ? normal : typedBulge;
    if (p != nullptr) SkipBlanks(p);
    if (p != nullptr && *p != '\0') return Bulge{num::atof(typedBulge), false};
    if (next.Valid) return Bulge{SidewallBeyondRimMm(next, rimWidthMm), true};
    return Bulge{0, false};
}

bool TyreIsOutermost(const Bulge& bulge) {
    return bulge.Mm > 0;
}

Inspection Inspect(const TargetCheck& protrusion, const Speedometer& speedometer, const Load& load) {
    const Verdict verdict = protrusion.Judged ? protrusion.Check.Result : Verdict::None;
    Outcome rule = Outcome::Missing;
    if (verdict == Verdict::Ok || verdict == Verdict::TyreTolerated) rule = Outcome::Pass;
    if (verdict == Verdict::WheelOut || verdict == Verdict::TyreOut) rule = Outcome::Fail;
    Inspection inspection{Outcome::Pass, rule, speedometer.Result, load.Result};
    for (Outcome part : {rule, speedometer.Result, load.Result}) {
        if (part == Outcome::Fail) {
            inspection.Result = Outcome::Fail;
        } else if (part == Outcome::Missing && inspection.Result != Outcome::Fail) {
            inspection.Result = Outcome::Missing;
        }
    }
    return inspection;
}

// ------------------------------------------------------------ texts

namespace {

// Lengths, speeds and percentages are shown to one decimal, as the program
// shows every length ("%.1f"); a load in whole kilograms.
constexpr int kShownDecimals = 1;
constexpr int kKgDecimals = 0;

std::size_t Append(char (&out)[kTyreTextSize], std::size_t n, const char* suffix) {
    const std::size_t length = std::strlen(suffix);
    if (n + length >= kTyreTextSize) return n;
    std::memcpy(out + n, suffix, length + 1);
    return n + length;
}

}  // namespace

std::size_t FormatRimInches(double inches, char (&out)[kTyreTextSize]) {
    return Append(out, num::FormatFixed(inches, kShownDecimals, out, sizeof out), "J");
}

std::size_t FormatSpeed(double kmh, char (&out)[kTyreTextSize]) {
    return Append(out, num::FormatFixed(kmh, kShownDecimals, out, sizeof out), " km/h");
}

std::size_t FormatPercentChange(double percent, char (&out)[kTyreTextSize]) {
    std::size_t n = 0;
    if (!std::signbit(percent) && !std::isnan(percent)) out[n++] = '+';
    char number[kTyreTextSize];
    num::FormatFixed(percent, kShownDecimals, number, sizeof number);
    out[n] = '\0';
    n = Append(out, n, number);
    return Append(out, n, " %");
}

std::size_t FormatKg(double kg, char (&out)[kTyreTextSize]) {
    return Append(out, num::FormatFixed(kg, kKgDecimals, out, sizeof out), " kg");
}
