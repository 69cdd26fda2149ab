// Reads the worked examples of the user's guides (docs/guide-ja.md and
// docs/guide-en.md), so that the core tests and the end-to-end tests check
// the numbers printed there against what Rimbeacon computes and shows.
//
// Each example in a guide is a marker line and a table of eight rows under
// it, the same shape in both languages (the cells in the first column are
// free text):
//
//   <!-- worked example 1 -->
//   | field | typed | shown |
//   |---|---|---|
//   | reference width   | 7  |         |
//   | reference offset  | 48 |         |
//   | outer clearance   | 10 |         |
//   | target width      | 8  |         |
//   | target offset     | click 「最適ｵﾌｾｯﾄ値取得」 | 50 |
//   | inner difference  |    | 14.7 ﾐﾘ |
//   | outer difference  |    | 10.7 ﾐﾘ |
//   | fender difference |    | 0.7 ﾐﾘ  |
//
// The typed target offset is either a number (typed, then Enter) or a cell
// naming the link label "最適ｵﾌｾｯﾄ値取得" (clicked with the field left as the
// program fills it). Texts are UTF-8 as in the files.
#pragma once

#include "tests/support/test_text.h"

#include <cstddef>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace guide {

// The link label's text and the unit the differences end with, in UTF-8.
inline const std::string kLinkLabel = "\xe6\x9c\x80\xe9\x81\xa9\xef\xbd\xb5\xef\xbe\x8c\xef\xbd\xbe\xef\xbd\xaf"
                                      "\xef\xbe\x84\xe5\x80\xa4\xe5\x8f\x96\xe5\xbe\x97";  // 最適ｵﾌｾｯﾄ値取得
inline const std::string kMm = "\xef\xbe\x90\xef\xbe\x98";                             // ﾐﾘ

constexpr int kExampleRows = 8;

struct Example {
    int number = 0;
    std::string inRim;
    std::string inOffset;
    std::string inIn;
    std::string outRim;
    std::string typedOffset;  // empty: the link label is clicked instead
    std::string shownOffset;  // what the target offset field then shows
    std::string inner;        // the three differences as drawn, "14.7 ﾐﾘ"
    std::string outer;
    std::string fender;
    std::string section;      // the example's part: its heading to the next
};

using test::ReadTextFile;
inline bool ReadFile(const std::string& path, std::string* text) { return ReadTextFile(path, text); }

inline std::string Trim(const std::string& s) {
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '\r')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r')) --e;
    return s.substr(b, e - b);
}

// A plain decimal number as a user types it: optional minus, digits, an
// optional point with digits.
inline bool IsPlainNumber(const std::string& s) {
    std::size_t i = (!s.empty() && s[0] == '-') ? 1 : 0;
    std::size_t digits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
    if (digits == 0) return false;
    if (i < s.size() && s[i] == '.') {
        ++i;
        std::size_t fraction = 0;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++fraction;
        if (fraction == 0) return false;
    }
    return i == s.size();
}

// The cells of a table row "| a | b | c |", trimmed.
inline std::vector<std::string> Cells(const std::string& line) {
    std::vector<std::string> cells;
    std::string row = Trim(line);
    if (row.size() < 2 || row.front() != '|' || row.back() != '|') return cells;
    std::size_t start = 1;
    for (std::size_t bar = row.find('|', start); bar != std::string::npos; bar = row.find('|', start)) {
        cells.push_back(Trim(row.substr(start, bar - start)));
        start = bar + 1;
    }
    return cells;
}

inline std::vector<std::string> Lines(const std::string& text, std::size_t from) {
    std::vector<std::string> lines;
    std::istringstream in(text.substr(from));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

using Rows = std::vector<std::vector<std::string>>;

// One example's table under its marker at `at`: its part of the guide
// (from the heading above the marker to the next heading) and the cells of
// its `rowCount` rows, header and separator left out. False, with the
// reason after `where`, when the table is short or a line is not a row of
// three cells.
inline bool ReadTable(const std::string& text, std::size_t at, int rowCount, const std::string& where,
                      std::string* section, Rows* rows, std::string* error) {
    std::size_t begin = text.rfind("\n#", at);
    begin = begin == std::string::npos ? 0 : begin + 1;
    std::size_t end = text.find("\n#", at);
    *section = text.substr(begin, end == std::string::npos ? std::string::npos : end - begin);

    std::vector<std::string> lines = Lines(text, at);
    // Marker, header, separator, then the rows.
    if (lines.size() < static_cast<std::size_t>(3 + rowCount)) {
        *error = where + "table too short";
        return false;
    }
    rows->clear();
    for (int k = 0; k < 2 + rowCount; ++k) {
        std::vector<std::string> cells = Cells(lines[1 + k]);
        if (cells.size() != 3) {
            *error = where + "line \"" + lines[1 + k] + "\" is not a row of three cells";
            return false;
        }
        if (k >= 2) rows->push_back(cells);
    }
    return true;
}

// Rows first.. of a table, each a typed plain number and nothing shown,
// into out[0..count).
inline bool TakeTyped(const Rows& rows, int first, std::string* const* out, int count, const std::string& where,
                      std::string* error) {
    for (int k = 0; k < count; ++k) {
        *out[k] = rows[first + k][1];
        if (!IsPlainNumber(*out[k]) || !rows[first + k][2].empty()) {
            *error = where + "row " + std::to_string(first + k + 1) + " needs a typed number and no shown value";
            return false;
        }
    }
    return true;
}

// Rows first.. of a table, each a shown value and nothing typed, into
// out[0..count).
inline bool TakeShown(const Rows& rows, int first, std::string* const* out, int count, const std::string& where,
                      std::string* error) {
    for (int k = 0; k < count; ++k) {
        *out[k] = rows[first + k][2];
        if (!rows[first + k][1].empty() || out[k]->empty()) {
            *error = where + "row " + std::to_string(first + k + 1) + " needs a shown value and nothing typed";
            return false;
        }
    }
    return true;
}

// The examples in file order. False, with the reason, when a marker is not
// followed by a well-formed table, or when the numbers do not run 1, 2, 3...
inline bool ParseExamples(const std::string& text, std::vector<Example>* examples, std::string* error) {
    static const std::string kMarker = "<!-- worked example ";
    examples->clear();
    for (std::size_t at = text.find(kMarker); at != std::string::npos; at = text.find(kMarker, at + 1)) {
        Example ex;
        ex.number = std::atoi(text.c_str() + at + kMarker.size());
        const std::string where = "example " + std::to_string(ex.number) + ": ";
        if (ex.number != static_cast<int>(examples->size()) + 1) {
            *error = where + "numbered out of order";
            return false;
        }
        Rows rows;
        if (!ReadTable(text, at, kExampleRows, where, &ex.section, &rows, error)) return false;
        std::string* typed[] = {&ex.inRim, &ex.inOffset, &ex.inIn, &ex.outRim};
        if (!TakeTyped(rows, 0, typed, 4, where, error)) return false;
        if (IsPlainNumber(rows[4][1])) {
            ex.typedOffset = rows[4][1];
        } else if (rows[4][1].find(kLinkLabel) == std::string::npos) {
            *error = where + "the target offset is neither typed nor the link label";
            return false;
        }
        ex.shownOffset = rows[4][2];
        std::string* shown[] = {&ex.inner, &ex.outer, &ex.fender};
        if (!TakeShown(rows, 5, shown, 3, where, error)) return false;
        examples->push_back(ex);
    }
    return true;
}

// The protrusion check's worked examples (the browser edition): a marker
// line and a table of fifteen rows, the same shape in both languages:
//
//   <!-- protrusion example 1 -->
//   | field | typed | shown |
//   |---|---|---|
//   | reference width    | 7  | |
//   | reference offset   | 48 | |
//   | outer clearance    | 10 | |
//   | target width       | 8  | |
//   | target offset      | 52 | |
//   | spacer             | 0  | |
//   | tyre bulge         | 9  | |
//   | vehicle            | passenger car (`passenger`) | |
//   | effective offset   | | — |          (the spacer's line; — without one)
//   | fender difference  | | -1.3 ﾐﾘ |
//   | tyre beyond the fender line | | 7.7 ﾐﾘ |
//   | verdict            | | OK (`tyre-tolerated`) |
//   | margin             | | 1.3 ﾐﾘ |
//   | wheel inside from  | | 51 |
//   | within the rule from | | 51 |
//
// The vehicle cell names `passenger` or `other`, the verdict cell
// `wheel-out`, `tyre-out`, `tyre-tolerated` or `ok`, each in backticks.
constexpr int kProtrusionRows = 15;
inline const std::string kNoEffectiveOffset = "\xe2\x80\x94";  // —

struct ProtrusionExample {
    int number = 0;
    std::string typed[8];      // InRim, InOffset, InIn, OutRim, OutOffset, Spacer, Bulge, Vehicle
    std::string effective;     // "47.0 ﾐﾘ", or kNoEffectiveOffset
    std::string fender;
    std::string tyre;
    std::string verdict;       // the name in backticks
    std::string margin;
    std::string inside;        // whole offsets
    std::string withinRule;
    std::string section;
};

// The word in backticks in a cell, or "".
inline std::string Backticked(const std::string& cell) {
    const std::size_t open = cell.find('`');
    const std::size_t close = open == std::string::npos ? open : cell.find('`', open + 1);
    return close == std::string::npos ? std::string() : cell.substr(open + 1, close - open - 1);
}

inline bool ParseProtrusionExamples(const std::string& text, std::vector<ProtrusionExample>* examples,
                                    std::string* error) {
    static const std::string kMarker = "<!-- protrusion example ";
    examples->clear();
    for (std::size_t at = text.find(kMarker); at != std::string::npos; at = text.find(kMarker, at + 1)) {
        ProtrusionExample ex;
        ex.number = std::atoi(text.c_str() + at + kMarker.size());
        const std::string where = "protrusion example " + std::to_string(ex.number) + ": ";
        if (ex.number != static_cast<int>(examples->size()) + 1) {
            *error = where + "numbered out of order";
            return false;
        }
        Rows rows;
        if (!ReadTable(text, at, kProtrusionRows, where, &ex.section, &rows, error)) return false;
        std::string* typed[] = {&ex.typed[0], &ex.typed[1], &ex.typed[2], &ex.typed[3],
                                &ex.typed[4], &ex.typed[5], &ex.typed[6]};
        if (!TakeTyped(rows, 0, typed, 7, where, error)) return false;
        ex.typed[7] = Backticked(rows[7][1]);
        if (ex.typed[7] != "passenger" && ex.typed[7] != "other") {
            *error = where + "the vehicle is neither `passenger` nor `other`";
            return false;
        }
        std::string* shown[] = {&ex.effective, &ex.fender,  &ex.tyre,      &ex.verdict,
                                &ex.margin,    &ex.inside, &ex.withinRule};
        if (!TakeShown(rows, 8, shown, 7, where, error)) return false;
        ex.verdict = Backticked(ex.verdict);
        examples->push_back(ex);
    }
    return true;
}

// The tyre's worked example (the browser edition): a marker line and a
// table of nineteen rows, the same shape in both languages; the spacer is
// 0 and the vehicle a passenger car:
//
//   <!-- tyre example 1 -->
//   | field | typed | shown |
//   |---|---|---|
//   | reference width, offset, clearance, target width, offset | 7 … | |   (five rows)
//   | new tyre size      | 225/45R17 91W | |
//   | current tyre size  | 215/45R17 87W | |
//   | vehicle made       | from 2007 (`from2007`) | |
//   | axle load          | 900 | |
//   | measuring rim      | | 7.5J |
//   | section width      | | 230.1 ﾐﾘ |
//   | sidewall beyond the rim | | 0.7 ﾐﾘ |
//   | verdict            | | OK (`ok`) |
//   | margin             | | 0.6 ﾐﾘ |
//   | true speed at 40   | | 40.6 km/h |
//   | speedometer        | | within (`ok`) |
//   | load capacity      | | 615 kg |
//   | load               | | enough (`ok`) |
//   | 車検               | | passes (`ok`) |
constexpr int kTyreRows = 19;

struct TyreExample {
    int number = 0;
    std::string typed[9];  // InRim, InOffset, InIn, OutRim, OutOffset, Tyre, RefTyre, Made, Axle
    std::string shown[10];  // measuring rim … 車検, the verdicts' names in backticks
    std::string section;
};

inline bool ParseTyreExamples(const std::string& text, std::vector<TyreExample>* examples, std::string* error) {
    static const std::string kMarker = "<!-- tyre example ";
    examples->clear();
    for (std::size_t at = text.find(kMarker); at != std::string::npos; at = text.find(kMarker, at + 1)) {
        TyreExample ex;
        ex.number = std::atoi(text.c_str() + at + kMarker.size());
        const std::string where = "tyre example " + std::to_string(ex.number) + ": ";
        if (ex.number != static_cast<int>(examples->size()) + 1) {
            *error = where + "numbered out of order";
            return false;
        }
        Rows rows;
        if (!ReadTable(text, at, kTyreRows, where, &ex.section, &rows, error)) return false;
        std::string* numbers[] = {&ex.typed[0], &ex.typed[1], &ex.typed[2], &ex.typed[3], &ex.typed[4]};
        if (!TakeTyped(rows, 0, numbers, 5, where, error)) return false;
        std::string* axle[] = {&ex.typed[8]};
        if (!TakeTyped(rows, 8, axle, 1, where, error)) return false;
        ex.typed[5] = rows[5][1];
        ex.typed[6] = rows[6][1];
        ex.typed[7] = Backticked(rows[7][1]);
        if (ex.typed[7] != "from2007" && ex.typed[7] != "before2007") {
            *error = where + "the date of make is neither `from2007` nor `before2007`";
            return false;
        }
        std::string* shown[10];
        for (int k = 0; k < 10; ++k) shown[k] = &ex.shown[k];
        if (!TakeShown(rows, 9, shown, 10, where, error)) return false;
        for (int k : {3, 6, 8, 9}) ex.shown[k] = Backticked(ex.shown[k]);
        examples->push_back(ex);
    }
    return true;
}

// What fits' worked example (the browser edition): a marker line and a
// table of twelve rows, the same in both languages; no spacer, a passenger
// car. Six typed rows, then one row a rim width: its name ("6.5J") and the
// range, "34–63" when some offset passes, "— (58–52)" when none does (the
// smallest within the rule, then the largest clear of the suspension).
//
//   <!-- fits example 1 -->
//   | field | typed | shown |
//   |---|---|---|
//   | reference width, offset, clearance | 7 … | |   (three rows)
//   | new tyre size      | 225/45R17 | |
//   | current tyre size  | 215/45R17 | |
//   | inner clearance    | 15 | |
//   | 6.5J | | 34–63 |    … six rows
constexpr int kFitsRows = 12;
inline const std::string kNoFit = "\xe2\x80\x94";  // —

struct FitsExample {
    int number = 0;
    std::string typed[6];  // InRim, InOffset, InIn, Tyre, RefTyre, InnerClear
    std::string width[6];  // "6.5J"
    int min[6] = {};
    int max[6] = {};
    bool fits[6] = {};
    std::string section;
};

inline bool ParseFitsExamples(const std::string& text, std::vector<FitsExample>* examples, std::string* error) {
    static const std::string kMarker = "<!-- fits example ";
    examples->clear();
    for (std::size_t at = text.find(kMarker); at != std::string::npos; at = text.find(kMarker, at + 1)) {
        FitsExample ex;
        ex.number = std::atoi(text.c_str() + at + kMarker.size());
        const std::string where = "fits example " + std::to_string(ex.number) + ": ";
        Rows rows;
        if (!ReadTable(text, at, kFitsRows, where, &ex.section, &rows, error)) return false;
        std::string* numbers[] = {&ex.typed[0], &ex.typed[1], &ex.typed[2]};
        if (!TakeTyped(rows, 0, numbers, 3, where, error)) return false;
        std::string* clear[] = {&ex.typed[5]};
        if (!TakeTyped(rows, 5, clear, 1, where, error)) return false;
        ex.typed[3] = rows[3][1];
        ex.typed[4] = rows[4][1];
        for (int k = 0; k < 6; ++k) {
            const std::vector<std::string>& row = rows[6 + k];
            const std::string& range = row[2];
            ex.width[k] = row[0];
            ex.fits[k] = range.compare(0, kNoFit.size(), kNoFit) != 0;
            const std::size_t first = range.find_first_of("0123456789");
            const std::size_t dash = range.find("\xe2\x80\x93", first);  // –
            if (!row[1].empty() || first == std::string::npos || dash == std::string::npos) {
                *error = where + "row " + std::to_string(7 + k) + " needs a range \"min–max\" and nothing typed";
                return false;
            }
            ex.min[k] = std::atoi(range.c_str() + first);
            ex.max[k] = std::atoi(range.c_str() + dash + 3);
        }
        examples->push_back(ex);
    }
    return true;
}

}  // namespace guide
