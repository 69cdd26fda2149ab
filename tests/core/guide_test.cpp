// The worked examples of both user's guides against the core: every number
// in their tables, and every difference their text quotes, is what the
// program (and the browser edition's protrusion check) computes and shows
// for the inputs given there.
#include "core/fitment.h"
#include "core/fits.h"
#include "core/number_text.h"
#include "core/protrusion.h"
#include "core/tyre.h"
#include "tests/core/guide_examples.h"
#include "tests/support/test_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <regex>
#include <string>
#include <vector>

namespace {

const char* const kGuides[] = {"guide-ja.md", "guide-en.md"};
constexpr std::size_t kExampleCount = 3;
constexpr std::size_t kProtrusionExampleCount = 2;
constexpr std::size_t kTyreExampleCount = 1;

std::string DocsPath(const std::string& name) { return std::string(RIMBEACON_DOCS_DIR) + "/" + name; }

std::vector<guide::Example> Examples(const std::string& name) {
    std::string text;
    std::vector<guide::Example> examples;
    std::string error;
    EXPECT_TRUE(guide::ReadFile(DocsPath(name), &text)) << DocsPath(name);
    EXPECT_TRUE(guide::ParseExamples(text, &examples, &error)) << name << ": " << error;
    return examples;
}

using test::SetField;

// A difference as the window draws it, with ﾐﾘ in UTF-8 as the guides write it.
std::string Shown(double value) {
    const std::string text = test::Difference(value);
    EXPECT_EQ(test::kMmCp932, text.substr(text.size() - test::kMmCp932.size()));
    return test::DifferenceNumber(value) + " " + guide::kMm;
}

std::string Magnitude(const std::string& number) { return number[0] == '-' ? number.substr(1) : number; }

// Every length that `section` quotes ("0.7 mm", "-5.3 ﾐﾘ") is one of the
// shown values, sign aside. Returns how many it quotes.
int QuotesAmong(const std::string& section, std::initializer_list<const std::string*> shown) {
    const std::regex quoted("(-?[0-9]+\\.[0-9]+) ?(mm|" + guide::kMm + ")");
    std::vector<std::string> allowed;
    for (const std::string* v : shown) allowed.push_back(Magnitude(v->substr(0, v->find(' '))));
    int quotes = 0;
    for (std::sregex_iterator it(section.begin(), section.end(), quoted), end; it != end; ++it) {
        ++quotes;
        EXPECT_NE(allowed.end(), std::find(allowed.begin(), allowed.end(), Magnitude((*it)[1].str())))
            << "the text quotes " << (*it)[0].str();
    }
    return quotes;
}

TEST(GuideExamples, NumbersAreWhatTheProgramShows) {
    for (const char* name : kGuides) {
        const std::vector<guide::Example> examples = Examples(name);
        ASSERT_EQ(kExampleCount, examples.size()) << name;
        for (const guide::Example& ex : examples) {
            SCOPED_TRACE(std::string(name) + ", example " + std::to_string(ex.number));
            // The window: four fields typed, then the link label clicked
            // (empty override) or the target offset typed and Enter.
            WheelFields fields;
            SetField(fields.InRim, ex.inRim);
            SetField(fields.InOffset, ex.inOffset);
            SetField(fields.InIn, ex.inIn);
            SetField(fields.OutRim, ex.outRim);
            SetField(fields.OutOffset, ex.typedOffset);
            FitResult fit{};
            ComputeOffset(fields, ex.typedOffset.c_str(), fit);
            EXPECT_EQ(ex.shownOffset, fields.OutOffset);
            ASSERT_EQ(1, EvaluateValidity(fields).OutValid) << "the window would show no differences";
            const Differences d = FitDifferences(fields, fit);
            EXPECT_EQ(ex.inner, Shown(d.Inner));
            EXPECT_EQ(ex.outer, Shown(d.Outer));
            EXPECT_EQ(ex.fender, Shown(d.Fender));

            // Differences the text of the example quotes ("0.7 mm beyond",
            // "5.3 mm less far in") are the shown ones, sign aside.
            EXPECT_GE(QuotesAmong(ex.section, {&ex.inner, &ex.outer, &ex.fender}), 3)
                << "the table's three differences at least";

            // Its picture from the end-to-end tests (tools/pictures guide).
            const std::string picture = "screenshots/guide-example-" + std::to_string(ex.number) + ".png";
            EXPECT_NE(std::string::npos, ex.section.find("](" + picture + ")")) << picture;
            EXPECT_TRUE(std::ifstream(DocsPath(picture)).good()) << DocsPath(picture);
        }
    }
}

TEST(GuideExamples, BothGuidesCarryTheSameExamples) {
    const std::vector<guide::Example> ja = Examples(kGuides[0]);
    const std::vector<guide::Example> en = Examples(kGuides[1]);
    ASSERT_EQ(ja.size(), en.size());
    for (std::size_t k = 0; k < ja.size(); ++k) {
        SCOPED_TRACE("example " + std::to_string(k + 1));
        EXPECT_EQ(ja[k].inRim, en[k].inRim);
        EXPECT_EQ(ja[k].inOffset, en[k].inOffset);
        EXPECT_EQ(ja[k].inIn, en[k].inIn);
        EXPECT_EQ(ja[k].outRim, en[k].outRim);
        EXPECT_EQ(ja[k].typedOffset, en[k].typedOffset);
        EXPECT_EQ(ja[k].shownOffset, en[k].shownOffset);
        EXPECT_EQ(ja[k].inner, en[k].inner);
        EXPECT_EQ(ja[k].outer, en[k].outer);
        EXPECT_EQ(ja[k].fender, en[k].fender);
    }
}

const char* VerdictName(Verdict verdict) {
    switch (verdict) {
    case Verdict::WheelOut: return "wheel-out";
    case Verdict::TyreOut: return "tyre-out";
    case Verdict::TyreTolerated: return "tyre-tolerated";
    case Verdict::Ok: return "ok";
    case Verdict::None: break;
    }
    return "";
}

std::string Whole(const OffsetAnswer& answer) {
    char text[num::kFixedBufferSize] = "";
    if (answer.Found) num::FormatFixed(answer.Offset, 0, text, sizeof text);
    return text;
}

// The protrusion check as the browser edition runs it (its WebAssembly
// interface calls these same functions after the refresh).
TEST(GuideExamples, ProtrusionNumbersAreWhatTheCheckShows) {
    std::vector<std::vector<guide::ProtrusionExample>> both;
    for (const char* name : kGuides) {
        std::string text;
        std::vector<guide::ProtrusionExample> examples;
        std::string error;
        ASSERT_TRUE(guide::ReadFile(DocsPath(name), &text)) << DocsPath(name);
        ASSERT_TRUE(guide::ParseProtrusionExamples(text, &examples, &error)) << name << ": " << error;
        ASSERT_EQ(kProtrusionExampleCount, examples.size()) << name;
        for (const guide::ProtrusionExample& ex : examples) {
            SCOPED_TRACE(std::string(name) + ", protrusion example " + std::to_string(ex.number));
            WheelFields fields = test::MakeFields(ex.typed[0], ex.typed[1], ex.typed[2], ex.typed[3], ex.typed[4]);
            FitResult fit{};
            ComputeOffset(fields, ex.typed[4].c_str(), fit);
            ASSERT_EQ(1, EvaluateValidity(fields).OutValid) << "the check would give no verdict";
            const double spacer = num::atof(ex.typed[5].c_str());
            const double bulge = num::atof(ex.typed[6].c_str());
            const Vehicle vehicle = ex.typed[7] == "passenger" ? Vehicle::Passenger : Vehicle::Other;
            const Differences d = FitDifferencesWithSpacer(fields, fit, spacer);
            const Protrusion p = CheckProtrusion(d.Fender, bulge, vehicle);
            const std::string effective =
                spacer != 0 ? Shown(EffectiveOffset(num::atof(fields.OutOffset), spacer)) : guide::kNoEffectiveOffset;
            EXPECT_EQ(ex.effective, effective);
            EXPECT_EQ(ex.fender, Shown(d.Fender));
            EXPECT_EQ(ex.tyre, Shown(p.Tyre));
            EXPECT_EQ(ex.verdict, VerdictName(p.Result));
            EXPECT_EQ(ex.margin, Shown(p.Margin));
            EXPECT_EQ(ex.inside, Whole(SmallestOffsetInside(fit.OptimalOffset, spacer)));
            EXPECT_EQ(ex.withinRule, Whole(SmallestOffsetWithinRule(fit.OptimalOffset, spacer, bulge, vehicle)));

            // Lengths the text quotes are shown ones, sign aside.
            QuotesAmong(ex.section, {&ex.effective, &ex.fender, &ex.tyre, &ex.margin});
            // Its picture: the browser edition's check showing this verdict.
            const std::string picture = "screenshots/web-check-" + ex.verdict + ".png";
            EXPECT_NE(std::string::npos, ex.section.find("](" + picture + ")")) << picture;
            EXPECT_TRUE(std::ifstream(DocsPath(picture)).good()) << DocsPath(picture);
        }
        both.push_back(examples);
    }
    // Both guides: the same inputs and the same results.
    for (std::size_t k = 0; k < kProtrusionExampleCount; ++k) {
        const guide::ProtrusionExample& ja = both[0][k];
        const guide::ProtrusionExample& en = both[1][k];
        SCOPED_TRACE("protrusion example " + std::to_string(k + 1));
        for (int i = 0; i < 8; ++i) EXPECT_EQ(ja.typed[i], en.typed[i]) << "input " << i;
        EXPECT_EQ(ja.effective + ja.fender + ja.tyre + ja.verdict + ja.margin + ja.inside + ja.withinRule,
                  en.effective + en.fender + en.tyre + en.verdict + en.margin + en.inside + en.withinRule);
    }
}

std::string TyreText(std::size_t (*format)(double, char (&)[kTyreTextSize]), double value) {
    char text[kTyreTextSize];
    format(value, text);
    return text;
}

std::string OutcomeName(Outcome outcome) {
    return outcome == Outcome::Pass ? "ok" : outcome == Outcome::Fail ? "ng" : "incomplete";
}

// The tyre's worked example: what the browser edition shows for a new tyre
// and the current one (its interface calls these same functions).
TEST(GuideExamples, TyreNumbersAreWhatTheCheckShows) {
    std::vector<std::vector<guide::TyreExample>> both;
    for (const char* name : kGuides) {
        std::string text;
        std::vector<guide::TyreExample> examples;
        std::string error;
        ASSERT_TRUE(guide::ReadFile(DocsPath(name), &text)) << DocsPath(name);
        ASSERT_TRUE(guide::ParseTyreExamples(text, &examples, &error)) << name << ": " << error;
        ASSERT_EQ(kTyreExampleCount, examples.size()) << name;
        for (const guide::TyreExample& ex : examples) {
            SCOPED_TRACE(std::string(name) + ", tyre example " + std::to_string(ex.number));
            WheelFields fields = test::MakeFields(ex.typed[0], ex.typed[1], ex.typed[2], ex.typed[3], ex.typed[4]);
            FitResult fit{};
            ComputeOffset(fields, ex.typed[4].c_str(), fit);
            const TyreSize next = ParseTyreSize(ex.typed[5].c_str());
            const TyreSize current = ParseTyreSize(ex.typed[6].c_str());
            ASSERT_TRUE(next.Valid && current.Valid);
            const double rim = WidthToMm(fields.OutRim);
            const Bulge bulge = BulgeFor("", next, rim);
            const TargetCheck check = CheckTarget(fields, fit, 0, bulge.Mm, Vehicle::Passenger);
            const Made made = ex.typed[7] == "from2007" ? Made::From2007 : Made::Before2007;
            const Speedometer speed = CheckSpeedometer(current, next, made);
            const Load load = CheckLoad(current, next, num::atof(ex.typed[8].c_str()));
            const std::string shown[10] = {
                TyreText(FormatRimInches, MeasuringRimInches(next)), Shown(SectionWidthMm(next, rim)), Shown(bulge.Mm),
                VerdictName(check.Check.Result), Shown(check.Check.Margin), TyreText(FormatSpeed, speed.TrueSpeed),
                OutcomeName(speed.Result), TyreText(FormatKg, load.Capacity), OutcomeName(load.Result),
                OutcomeName(Inspect(check, speed, load).Result)};
            for (int k = 0; k < 10; ++k) EXPECT_EQ(ex.shown[k], shown[k]) << "shown row " << k + 1;
            QuotesAmong(ex.section, {&ex.shown[1], &ex.shown[2], &ex.shown[4]});
            // Its picture: the browser edition's tyre results, in the guide's language.
            const std::string picture = std::string("screenshots/web-tyres-") + (name == kGuides[0] ? "ja" : "en") + ".png";
            EXPECT_NE(std::string::npos, ex.section.find("](" + picture + ")")) << picture;
            EXPECT_TRUE(std::ifstream(DocsPath(picture)).good()) << DocsPath(picture);
        }
        both.push_back(examples);
    }
    for (std::size_t k = 0; k < kTyreExampleCount; ++k) {
        for (int i = 0; i < 9; ++i) EXPECT_EQ(both[0][k].typed[i], both[1][k].typed[i]) << "input " << i;
        for (int i = 0; i < 10; ++i) EXPECT_EQ(both[0][k].shown[i], both[1][k].shown[i]) << "shown " << i;
    }
}

// What fits' worked example: the table the browser edition shows.
TEST(GuideExamples, WhatFitsIsWhatTheTableShows) {
    std::vector<guide::FitsExample> both[2];
    for (int g = 0; g < 2; ++g) {
        std::string text;
        std::string error;
        ASSERT_TRUE(guide::ReadFile(DocsPath(kGuides[g]), &text)) << DocsPath(kGuides[g]);
        ASSERT_TRUE(guide::ParseFitsExamples(text, &both[g], &error)) << kGuides[g] << ": " << error;
        ASSERT_EQ(1u, both[g].size()) << kGuides[g];
        const guide::FitsExample& ex = both[g][0];
        SCOPED_TRACE(kGuides[g]);
        const FitTable table = WhatFits(test::MakeFields(ex.typed[0], ex.typed[1], ex.typed[2], ""), 0,
                                        ex.typed[5].c_str(), ParseTyreSize(ex.typed[3].c_str()),
                                        ParseTyreSize(ex.typed[4].c_str()), Vehicle::Passenger);
        ASSERT_TRUE(table.Shown);
        for (int k = 0; k < kFitRows; ++k) {
            const FitRow& row = table.Rows[k];
            EXPECT_EQ(ex.width[k], std::string(row.WidthText) + "J");
            EXPECT_EQ(ex.min[k], row.Min.Offset) << row.WidthText;
            EXPECT_EQ(ex.max[k], row.Max.Offset) << row.WidthText;
            EXPECT_EQ(ex.fits[k], row.Fits) << row.WidthText;
        }
    }
    for (int k = 0; k < 6; ++k) EXPECT_EQ(both[0][0].typed[k], both[1][0].typed[k]);
}

}  // namespace
