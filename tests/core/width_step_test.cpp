#include "core/width_step.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

constexpr int kUp = 1;
constexpr int kDown = -1;

struct StepCase {
    const char* text;
    int delta;
    const char* expected;
};

void ExpectSteps(const StepCase* cases, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        char out[kStepTextSize];
        std::memset(out, 'Z', sizeof out);
        StepWidthText(cases[i].text, cases[i].delta, out);
        EXPECT_EQ(std::string(out), cases[i].expected)
            << "\"" << cases[i].text << "\" stepped " << (cases[i].delta < 0 ? "down" : "up");
    }
}

TEST(WidthStepping, InchesUp) {
    const StepCase cases[] = {
        {"6.5", kUp, "7.0"},  {"7", kUp, "7.5"},     {"7.3", kUp, "7.5"},  {"7.8", kUp, "8.0"},
        {"12.9", kUp, "13.0"}, {"49.7", kUp, "50.0"}, {"49.5", kUp, "50.0"}, {"7.39", kUp, "7.6"},
        {"0", kUp, "0.5"},
    };
    ExpectSteps(cases, sizeof cases / sizeof cases[0]);
}

TEST(WidthStepping, InchesDown) {
    const StepCase cases[] = {
        {"6.5", kDown, "6.0"}, {"7.3", kDown, "6.5"}, {"0.2", kDown, "0.0"},
        {"0", kDown, "0.0"},   {"0.5", kDown, "0.0"}, {"49.9", kDown, "49.0"},
    };
    ExpectSteps(cases, sizeof cases / sizeof cases[0]);
}

TEST(WidthStepping, UnitBoundary) {
    const StepCase cases[] = {
        {"50", kUp, "55"},
        {"50", kDown, "45"},
        {"45", kUp, "45.5"},
        {"45", kDown, "44.5"},
        {"50.0", kDown, "45"},
    };
    ExpectSteps(cases, sizeof cases / sizeof cases[0]);
}

TEST(WidthStepping, Millimetres) {
    const StepCase cases[] = {
        {"205", kUp, "210"},   {"203", kUp, "205"},   {"203", kDown, "195"}, {"498", kUp, "500"},
        {"500", kUp, "500"},   {"500", kDown, "495"}, {"203.7", kUp, "206"}, {"1000", kDown, "500"},
        {"1d2", kUp, "105"},   {"225 mm", kUp, "230"},
    };
    ExpectSteps(cases, sizeof cases / sizeof cases[0]);
}

TEST(WidthStepping, MillimetreHalvesRoundAwayFromZero) {
    const StepCase cases[] = {
        {"57.5", kUp, "61"},
        {"195.5", kUp, "201"},
        {"205.5", kUp, "211"},
        {"62.5", kDown, "56"},
    };
    ExpectSteps(cases, sizeof cases / sizeof cases[0]);
}

TEST(WidthStepping, EmptyAndNonNumbers) {
    const StepCase cases[] = {
        {"", kUp, "0.5"},
        {"", kDown, "0.0"},
        {"abc", kUp, "0.5"},
        {"\x82\x56", kUp, "0.5"},  // full-width 7
        {"0x10", kUp, "0.5"},
    };
    ExpectSteps(cases, sizeof cases / sizeof cases[0]);
}

TEST(WidthStepping, NegativeWidths) {
    const StepCase cases[] = {
        {"-3", kDown, "0.0"},   {"-0.1", kDown, "0.0"}, {"-0.5", kUp, "0.0"},  {"-7", kUp, "0.0"},
        {"-0.3", kUp, "0.0"},   {"-0.01", kUp, "0.1"},  {"-0.001", kUp, "0.1"}, {"-60", kUp, "0.0"},
    };
    ExpectSteps(cases, sizeof cases / sizeof cases[0]);
}

TEST(WidthStepping, BeyondThe32BitRange) {
    const StepCase cases[] = {
        {"1e10", kUp, "500"},
        {"1e10", kDown, "500"},
        {"-1e10", kUp, "0.0"},
        {"-1e10", kDown, "0.0"},
        {"1e999", kUp, "500"},
        {"-1e999", kUp, "0.0"},
    };
    ExpectSteps(cases, sizeof cases / sizeof cases[0]);
}

TEST(WidthStepping, OnlyTheSignOfDeltaCounts) {
    const StepCase cases[] = {
        {"203", 0, "205"},        {"203", 7, "205"},     {"203", -512, "195"},
        {"6.5", 0, "7.0"},        {"6.5", 100, "7.0"},   {"6.5", -100, "6.0"},
        {"6.5", INT32_MIN, "6.0"}, {"6.5", INT32_MAX, "7.0"},
    };
    ExpectSteps(cases, sizeof cases / sizeof cases[0]);
}

}  // namespace
