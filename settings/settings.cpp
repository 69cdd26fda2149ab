#include "settings/settings.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <iterator>

namespace {

// The dot and backslash make the profile functions look in the current
// directory rather than the Windows directory.
constexpr char kFileName[] = ".\\Rimbeacon.ini";
constexpr char kSection[] = "Rimbeacon";

constexpr char kKeyInRim[] = "InRim";
constexpr char kKeyInOffset[] = "InOffset";
constexpr char kKeyInIn[] = "InIn";
constexpr char kKeyOutRim[] = "OutRim";
constexpr char kKeyTopMost[] = "TopMost";

constexpr char kDefaultInRim[] = "6.5";
constexpr char kDefaultInOffset[] = "45";
constexpr char kDefaultInIn[] = "20";
constexpr char kDefaultOutRim[] = "7";
constexpr char kTopMostOff[] = "0";
constexpr char kTopMostOn[] = "1";

constexpr std::size_t kTopMostSize = 32;

void LoadField(const char* key, const char* defaultText, char (&field)[kFieldSize])
{
    // When a long value is cut inside a double-byte character, Wine writes
    // the complete characters and leaves the next byte of the buffer as it
    // was. Clearing the field first makes that byte the end of the text
    // rather than a leftover of the old one.
    std::fill(std::begin(field), std::end(field), '\0');
    GetPrivateProfileStringA(kSection, key, defaultText, field, kFieldSize, kFileName);
}

}  // namespace

void LoadInputs(WheelFields& fields)
{
    LoadField(kKeyInRim, kDefaultInRim, fields.InRim);
    LoadField(kKeyInOffset, kDefaultInOffset, fields.InOffset);
    LoadField(kKeyInIn, kDefaultInIn, fields.InIn);
    LoadField(kKeyOutRim, kDefaultOutRim, fields.OutRim);
}

void SaveInputs(const WheelFields& fields)
{
    WritePrivateProfileStringA(kSection, kKeyInRim, fields.InRim, kFileName);
    WritePrivateProfileStringA(kSection, kKeyInOffset, fields.InOffset, kFileName);
    WritePrivateProfileStringA(kSection, kKeyInIn, fields.InIn, kFileName);
    WritePrivateProfileStringA(kSection, kKeyOutRim, fields.OutRim, kFileName);
}

bool LoadTopMost()
{
    char value[kTopMostSize] = {};
    GetPrivateProfileStringA(kSection, kKeyTopMost, kTopMostOff, value, kTopMostSize, kFileName);
    return value[0] == kTopMostOn[0];
}

void SaveTopMost(bool on)
{
    WritePrivateProfileStringA(kSection, kKeyTopMost, on ? kTopMostOn : kTopMostOff, kFileName);
}
