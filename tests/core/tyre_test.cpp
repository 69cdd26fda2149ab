#include "core/tyre.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/test_text.h"

namespace {

using test::DifferenceNumber;

// One table of what a tyre size tells: the sizes read and refused, the
// measuring rims the makers publish, the sidewall and the diameter worked
// by hand, the speedometer's limits for both dates, and the load rule.
TEST(TyreSize, ReadsTheSizeAndTellsWhatTheInspectionAsks) {
    struct Read {
        const char* text;
        int width, aspect, rim, loadIndex;  // loadIndex 0: none
        char speed;
        bool reinforced;
    };
    const Read read[] = {
        {"225/45R17", 225, 45, 17, 0, '\0', false},
        {"225/45ZR17", 225, 45, 17, 0, '\0', false},
        {"225/45 R17", 225, 45, 17, 0, '\0', false},
        {" p225/45r17 ", 225, 45, 17, 0, '\0', false},
        {"225/45R17 91W", 225, 45, 17, 91, 'W', false},
        {"225/45R17 91 w", 225, 45, 17, 91, 'W', false},
        {"225/45R17 91W XL", 225, 45, 17, 91, 'W', true},
        {"225/45R17 xl 91W", 225, 45, 17, 91, 'W', true},
        {"225/45R17 91Y extra load", 225, 45, 17, 91, 'Y', true},
        {"245/40R18 97 REINF", 245, 40, 18, 97, '\0', true},
        {"\xEF\xBC\x92\xEF\xBC\x92\xEF\xBC\x95\xEF\xBC\x8F\xEF\xBC\x94\xEF\xBC\x95\xEF\xBC\xB2\xEF\xBC\x91\xEF\xBC\x97"
         "\xE3\x80\x80\xEF\xBC\x99\xEF\xBC\x91\xEF\xBC\xB7",  // ２２５／４５Ｒ１７　９１Ｗ
         225, 45, 17, 91, 'W', false},
    };
    for (const Read& r : read) {
        SCOPED_TRACE(r.text);
        const TyreSize size = ParseTyreSize(r.text);
        ASSERT_TRUE(size.Valid);
        EXPECT_EQ(r.width, size.Width);
        EXPECT_EQ(r.aspect, size.Aspect);
        EXPECT_EQ(r.rim, size.Rim);
        EXPECT_EQ(r.loadIndex != 0, size.HasLoadIndex);
        if (r.loadIndex != 0) {
            EXPECT_EQ(r.loadIndex, size.LoadIndex);
        }
        EXPECT_EQ(r.speed, size.Speed);
        EXPECT_EQ(r.reinforced, size.Reinforced);
    }
    for (const char* refused : {"", "225/45-17", "225/45R17.5", "2255/45R17", "225/4R17", "225/45R9", "225/45R27",
                                "225/45R17 91WW", "225/45R17 foo", "225/15R17", "225/45R17 XL XL", "225/45R17 9W",
                                "225/45R17 1234", "225/45R17 ﾐﾘ", "225/45R17 EXTRA", "R17 225/45", "abc"}) {
        EXPECT_FALSE(ParseTyreSize(refused).Valid) << "[" << refused << "]";
    }

    // The measuring rims the makers publish.
    const std::pair<const char*, double> rims[] = {
        {"195/65R15", 6},   {"205/55R16", 6.5}, {"225/45R17", 7.5}, {"235/45R17", 8},   {"225/40R18", 8},
        {"245/40R18", 8.5}, {"255/35R18", 9},   {"165/55R14", 5},   {"225/60R15", 6.5}, {"225/75R15", 6},
        {"175/75R14", 5},
    };
    for (const auto& [text, inches] : rims) EXPECT_EQ(inches, MeasuringRimInches(ParseTyreSize(text))) << text;

    // Section width, sidewall beyond the rim's flange and outer diameter,
    // worked by hand: 225/45R17 on 8 J, 195/65R15 on 6 J, 255/35R18 on 8.5 J.
    struct Shape {
        const char* size;
        double rimMm;
        const char *section, *sidewall, *diameter;
    };
    for (const Shape& s : {Shape{"225/45R17", 203.2, "230.1", "0.7", "634.3"},
                           Shape{"195/65R15", 152.4, "195.0", "8.6", "634.5"},
                           Shape{"255/35R18", 215.9, "249.9", "4.3", "635.7"}}) {
        const TyreSize size = ParseTyreSize(s.size);
        EXPECT_EQ(s.section, DifferenceNumber(SectionWidthMm(size, s.rimMm))) << s.size;
        EXPECT_EQ(s.sidewall, DifferenceNumber(SidewallBeyondRimMm(size, s.rimMm))) << s.size;
        EXPECT_EQ(s.diameter, DifferenceNumber(OuterDiameterMm(size))) << s.size;
    }

    // The speedometer: the true speed at a shown 40 km/h, between 30.9 and
    // 42.55 km/h (from 2007) or 44.44 km/h (before).
    struct Speed {
        const char *current, *next;
        const char* trueSpeed;
        Outcome from2007, before2007;
    };
    const Outcome P = Outcome::Pass;
    const Outcome F = Outcome::Fail;
    for (const Speed& s : {Speed{"215/45R17", "225/45R17", "40.6", P, P}, Speed{"215/45R17", "245/45R18", "43.4", F, P},
                           Speed{"215/45R17", "275/40R19", "44.9", F, F}, Speed{"215/45R17", "155/65R13", "34.0", P, P},
                           Speed{"245/45R18", "145/70R12", "30.0", F, F}}) {
        SCOPED_TRACE(std::string(s.current) + " -> " + s.next);
        const Speedometer from = CheckSpeedometer(ParseTyreSize(s.current), ParseTyreSize(s.next), Made::From2007);
        EXPECT_EQ(s.trueSpeed, DifferenceNumber(from.TrueSpeed));
        EXPECT_EQ(s.from2007, from.Result);
        EXPECT_EQ(s.before2007, CheckSpeedometer(ParseTyreSize(s.current), ParseTyreSize(s.next), Made::Before2007).Result);
    }
    EXPECT_EQ("1.4", DifferenceNumber(CheckSpeedometer(ParseTyreSize("215/45R17"), ParseTyreSize("225/45R17"),
                                                       Made::From2007).ChangePercent));
    EXPECT_EQ(Outcome::Missing, CheckSpeedometer(ParseTyreSize(""), ParseTyreSize("225/45R17"), Made::From2007).Result);

    // The load: half the axle load a tyre; without one, against the
    // current tyre; an index outside the table is unknown.
    EXPECT_EQ(250, LoadCapacityKg(60));
    EXPECT_EQ(615, LoadCapacityKg(91));
    EXPECT_EQ(1060, LoadCapacityKg(110));
    EXPECT_EQ(0, LoadCapacityKg(59));
    struct LoadRow {
        const char *current, *next;
        double axle;
        Outcome result;
    };
    for (const LoadRow& l : {LoadRow{"215/45R17 87W", "225/45R17 91W", 900, P},
                             LoadRow{"215/45R17 87W", "195/65R15 82H", 1000, F},
                             LoadRow{"215/45R17 91W", "225/45R17 87W", 0, Outcome::Missing},
                             LoadRow{"215/45R17 87W", "225/45R17 91W", 0, P},
                             LoadRow{"215/45R17 87W", "225/45R17", 900, Outcome::Missing}}) {
        SCOPED_TRACE(std::string(l.current) + " -> " + l.next);
        EXPECT_EQ(l.result, CheckLoad(ParseTyreSize(l.current), ParseTyreSize(l.next), l.axle).Result);
    }
}

}  // namespace
