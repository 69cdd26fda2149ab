// Text helpers shared by the tests and the benchmarks: field texts, a
// double's bits, the difference texts, whole files, and the rows of the
// expectations that both editions are held to (tests/shared/expectations.txt,
// whose path the build hands in as RIMBEACON_SHARED_EXPECTATIONS to the
// tests that read it). Header only; a helper that names a core function needs the core only where it
// is used.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "core/fitment.h"

namespace test {

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

// " ﾐﾘ" in code page 932, as the desktop writes it after every difference.
const std::string kMmCp932 = " \xD0\xD8";

inline std::uint64_t Bits(double v) {
    std::uint64_t b = 0;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

inline double FromBits(std::uint64_t b) {
    double v = 0;
    std::memcpy(&v, &b, sizeof v);
    return v;
}

// A field holding `text`, cut to 255 bytes as the program's buffers cut it,
// the rest zero.
inline void SetField(char (&field)[kFieldSize], const std::string& text) {
    std::memset(field, 0, kFieldSize);
    std::memcpy(field, text.c_str(), std::min(text.size(), kFieldSize - 1));
}

inline WheelFields MakeFields(const std::string& inRim, const std::string& inOffset, const std::string& inIn,
                              const std::string& outRim, const std::string& outOffset = "") {
    WheelFields f;
    SetField(f.InRim, inRim);
    SetField(f.InOffset, inOffset);
    SetField(f.InIn, inIn);
    SetField(f.OutRim, outRim);
    SetField(f.OutOffset, outOffset);
    return f;
}

// A difference as the diagram writes it, " ﾐﾘ" included.
inline std::string Difference(double value) {
    char out[kDifferenceTextSize];
    const std::size_t length = FormatDifference(value, out);
    return std::string(out, length);
}

// A difference's number alone: "14.7" for "14.7 ﾐﾘ".
inline std::string DifferenceNumber(double value) {
    const std::string text = Difference(value);
    return text.substr(0, text.size() - kMmCp932.size());
}

// The whole file at `path`; false when it cannot be opened.
inline bool ReadTextFile(const std::string& path, std::string* text) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    std::ostringstream bytes;
    bytes << file.rdbuf();
    *text = bytes.str();
    return true;
}

#ifdef RIMBEACON_SHARED_EXPECTATIONS
// The rows of kind `kind` ("wheels", "spin") of the shared expectations: each
// row's words after the kind, a bracketed text as one word without its
// brackets. Empty when the file cannot be read.
inline std::vector<std::vector<std::string>> SharedRows(const std::string& kind) {
    std::vector<std::vector<std::string>> rows;
    std::string text;
    if (!ReadTextFile(RIMBEACON_SHARED_EXPECTATIONS, &text)) return rows;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::vector<std::string> words;
        for (std::size_t at = 0; at < line.size();) {
            if (line[at] == ' ' || line[at] == '\r') {
                ++at;
            } else if (line[at] == '[') {
                const std::size_t close = line.find(']', at);
                if (close == std::string::npos) break;
                words.push_back(line.substr(at + 1, close - at - 1));
                at = close + 1;
            } else {
                const std::size_t blank = std::min(line.find(' ', at), line.size());
                words.push_back(line.substr(at, blank - at));
                at = blank;
            }
        }
        if (!words.empty() && words[0] == kind) rows.emplace_back(words.begin() + 1, words.end());
    }
    return rows;
}
#endif

}  // namespace test
