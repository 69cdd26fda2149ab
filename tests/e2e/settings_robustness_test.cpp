// Damaged, huge and foreign settings files, given to the real Rimbeacon.exe.
// The program must start, show in its four input edits exactly what the
// profile functions read from the file, and keep what it saves: after a
// refresh with valid inputs, the next start shows those inputs again.
//
// The reading rule is the one of GetPrivateProfileStringA (section
// "Rimbeacon", buffer of 256 bytes, the program's defaults). This test
// process calls it on the same file as the oracle, and also states the
// expected texts where they follow plainly from the rule.
//
// The profile functions keep recently read files in a per-process cache
// keyed by the path, so every read here goes to a file name not read before.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <random>
#include <string>

#include "resources/resource.h"
#include "tests/e2e/driver.h"

namespace {

using e2e::App;

constexpr int kInputEdits[] = {IDC_IN_RIM, IDC_IN_OFFSET, IDC_IN_IN, IDC_OUT_RIM};
constexpr const char* kKeys[] = {"InRim", "InOffset", "InIn", "OutRim"};
constexpr const char* kDefaults[] = {"6.5", "45", "20", "7"};
constexpr int kInputCount = 4;
constexpr DWORD kFieldSize = 256;  // the program's field buffer

constexpr std::size_t kMiB = 1024 * 1024;
constexpr std::size_t kLongValue = 100000;

// Valid inputs the tests type before restarting; none is a default.
constexpr const char* kSavedInputs[kInputCount] = {"7.5", "38", "12", "8.5"};

struct Inputs {
    std::string text[kInputCount];
    bool operator==(const Inputs& o) const {
        for (int i = 0; i < kInputCount; ++i) {
            if (text[i] != o.text[i]) return false;
        }
        return true;
    }
};

// Bytes as C escapes, so that a failing comparison of CP932 or binary text
// stays readable.
std::string Escaped(const std::string& bytes) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += static_cast<char>(c);
        } else {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        }
    }
    return out;
}

std::ostream& operator<<(std::ostream& os, const Inputs& inputs) {
    for (int i = 0; i < kInputCount; ++i) {
        os << (i ? ", " : "") << kKeys[i] << "=\"" << Escaped(inputs.text[i]) << "\" ("
           << inputs.text[i].size() << " bytes)";
    }
    return os;
}

Inputs Make(const char* inRim, const char* inOffset, const char* inIn, const char* outRim) {
    Inputs inputs;
    inputs.text[0] = inRim;
    inputs.text[1] = inOffset;
    inputs.text[2] = inIn;
    inputs.text[3] = outRim;
    return inputs;
}

std::string Repeat(const std::string& piece, std::size_t times) {
    std::string out;
    out.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i) out += piece;
    return out;
}

// UTF-16 little endian with its byte order mark.
std::string Utf16Le(const std::wstring& text) {
    std::string out = "\xFF\xFE";
    for (wchar_t c : text) {
        const auto unit = static_cast<std::uint16_t>(c);
        out += static_cast<char>(unit & 0xFF);
        out += static_cast<char>(unit >> 8);
    }
    return out;
}

class SettingsRobustness : public ::testing::Test {
protected:
    // The four inputs as the profile functions read them from `name` in the
    // test directory: a zeroed 256-byte buffer per key, as the program reads.
    // The file is first copied to a name never read before (see the top).
    Inputs ReadAsTheProgramWould(const std::string& name) {
        const std::string copy = dir_.File("oracle-" + std::to_string(++reads_) + ".ini");
        Inputs inputs;
        if (!CopyFileA(dir_.File(name).c_str(), copy.c_str(), FALSE)) return inputs;
        for (int i = 0; i < kInputCount; ++i) {
            char buffer[kFieldSize] = {};
            GetPrivateProfileStringA("Rimbeacon", kKeys[i], kDefaults[i], buffer, kFieldSize, copy.c_str());
            inputs.text[i] = buffer;
        }
        DeleteFileA(copy.c_str());
        return inputs;
    }

    Inputs Shown(const App& app) const {
        Inputs inputs;
        for (int i = 0; i < kInputCount; ++i) inputs.text[i] = app.Text(kInputEdits[i]);
        return inputs;
    }

    // Writes the settings file, starts the program on it and checks that the
    // edits show what the reading rule gives, which must be `expected`.
    void StartOn(const std::string& bytes, const Inputs& expected) {
        ASSERT_TRUE(dir_.WriteFile(e2e::kSettingsFile, bytes));
        const Inputs rule = ReadAsTheProgramWould(e2e::kSettingsFile);
        EXPECT_EQ(rule, expected) << "the profile functions read the file differently than this test assumes";
        ASSERT_TRUE(app_.Start(dir_.Path())) << app_.Error();
        EXPECT_EQ(Shown(app_), rule);
        EXPECT_TRUE(app_.Running());
    }

    // Types valid inputs into the four edits, refreshes with Enter, waits
    // until the file holds them, restarts the program and expects them back.
    void SavedInputsSurviveARestart() {
        const Inputs saved = Make(kSavedInputs[0], kSavedInputs[1], kSavedInputs[2], kSavedInputs[3]);
        for (int i = 0; i < kInputCount; ++i) {
            ASSERT_TRUE(app_.SetControlText(kInputEdits[i], saved.text[i]));
        }
        HWND edit = app_.Control(IDC_IN_IN);
        ASSERT_TRUE(e2e::ClickAt(edit, e2e::CenterOf(edit)));
        ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::FocusedControl(app_.Window()) == edit; }));
        e2e::PressKey(VK_RETURN);
        EXPECT_TRUE(e2e::WaitUntil([&] { return ReadAsTheProgramWould(e2e::kSettingsFile) == saved; }))
            << "the settings file holds " << ReadAsTheProgramWould(e2e::kSettingsFile);
        app_.Stop();

        App again;
        ASSERT_TRUE(again.Start(dir_.Path())) << again.Error();
        EXPECT_EQ(Shown(again), saved);
    }

    e2e::TempDir dir_;
    App app_;
    int reads_ = 0;
};

TEST_F(SettingsRobustness, RandomBytesGiveTheDefaults) {
    // Four KiB of noise from a fixed seed: no "[Rimbeacon]" line, so every
    // key is missing and reads its default.
    std::mt19937 noise(20240607u);
    std::string bytes(4096, '\0');
    for (char& c : bytes) c = static_cast<char>(noise() & 0xFF);
    StartOn(bytes, Make("6.5", "45", "20", "7"));
    SavedInputsSurviveARestart();
}

TEST_F(SettingsRobustness, OneMebibyteFileWithTheSectionAtTheEnd) {
    // Other sections and comments fill the first MiB; the program's section
    // comes last.
    std::string bytes = "; written by hand\r\n[Other]\r\n";
    for (int i = 0; bytes.size() < kMiB; ++i) {
        bytes += "Key" + std::to_string(i) + "=" + Repeat("v", 100) + "\r\n";
        if (i % 1000 == 999) bytes += "[Other" + std::to_string(i) + "]\r\n";
    }
    bytes += "[Rimbeacon]\r\nInRim=8\r\nInOffset=35\r\nInIn=12\r\nOutRim=9\r\n";
    ASSERT_GT(bytes.size(), kMiB);
    StartOn(bytes, Make("8", "35", "12", "9"));
    SavedInputsSurviveARestart();
}

TEST_F(SettingsRobustness, HundredThousandByteLinesAreCutTo255Bytes) {
    const std::string kanji = "\x95\x9D";  // CP932, two bytes
    const std::string longRim = "7." + Repeat("5", kLongValue);
    std::string bytes = "; " + Repeat("c", kLongValue) + "\r\n";
    bytes += "[Rimbeacon]\r\n";
    bytes += Repeat("K", kLongValue) + "=1\r\n";  // a key name of 100,000 bytes
    bytes += "InRim=" + longRim + "\r\n";
    bytes += "InOffset=40\r\n";
    bytes += "InIn=" + Repeat(kanji, kLongValue / 2) + "\r\n";
    bytes += "OutRim=  8" + Repeat(" ", kLongValue) + "\r\n";  // blanks around the value go
    // 255 bytes of the width; 254 of the kanji, since the 255th byte would
    // split one.
    StartOn(bytes, Make(longRim.substr(0, 255).c_str(), "40", Repeat(kanji, 127).c_str(), "8"));
    SavedInputsSurviveARestart();
}

TEST_F(SettingsRobustness, RepeatedKeysAndSections) {
    // The first key of a name wins inside the first section of the name
    // (letter case aside); a later section of the same name is never looked
    // at, so its keys read their defaults.
    const std::string bytes =
        "[Rimbeacon]\r\nInRim=7\r\nInRim=8\r\ninoffset=40\r\nInOffset=41\r\n"
        "[Rimbeacon]\r\nInIn=11\r\nInRim=9\r\n"
        "[RIMBEACON]\r\nOutRim=9\r\n";
    StartOn(bytes, Make("7", "40", "20", "7"));
    SavedInputsSurviveARestart();
}

TEST_F(SettingsRobustness, Cp932TextLoadsByteForByte) {
    // 7ﾐﾘ (half-width katakana), 45ソ (trail byte 5C, a backslash),
    // 幅 alone, 8幅: valid except InIn.
    const std::string bytes =
        "[Rimbeacon]\r\nInRim=7\xD0\xD8\r\nInOffset=45\x83\x5C\r\nInIn=\x95\x9D\r\nOutRim=8\x95\x9D\r\n";
    StartOn(bytes, Make("7\xD0\xD8", "45\x83\x5C", "\x95\x9D", "8\x95\x9D"));
    SavedInputsSurviveARestart();
}

TEST_F(SettingsRobustness, Cp932TextOfValidInputsIsSavedAsItIs) {
    // All four valid, so the first refresh writes them back; the next start
    // shows the same bytes.
    const std::string bytes =
        "[Rimbeacon]\r\nInRim=7\xD0\xD8\r\nInOffset=45\x83\x5C\r\nInIn=20\xB1\r\nOutRim=8\x95\x9D\r\n";
    const Inputs expected = Make("7\xD0\xD8", "45\x83\x5C", "20\xB1", "8\x95\x9D");
    StartOn(bytes, expected);
    app_.Stop();
    EXPECT_EQ(ReadAsTheProgramWould(e2e::kSettingsFile), expected);
    App again;
    ASSERT_TRUE(again.Start(dir_.Path())) << again.Error();
    EXPECT_EQ(Shown(again), expected);
}

TEST_F(SettingsRobustness, Utf8TextIsReadAsCp932Bytes) {
    // Without a byte order mark the file is code page 932: UTF-8 bytes come
    // through as the CP932 characters they happen to form. ホイール and ミリ
    // in UTF-8 pair up into defined CP932 characters, so the bytes stay.
    const std::string hoiiru = "\xE3\x83\x9B\xE3\x82\xA4\xE3\x83\xBC\xE3\x83\xAB";
    const std::string miri = "\xE3\x83\x9F\xE3\x83\xAA";
    const std::string bytes = "[Rimbeacon]\r\nInRim=7" + miri + "\r\nInOffset=" + hoiiru +
                              "\r\nInIn=20\r\nOutRim=8\r\n";
    StartOn(bytes, Make(("7" + miri).c_str(), hoiiru.c_str(), "20", "8"));
    SavedInputsSurviveARestart();
}

TEST_F(SettingsRobustness, Utf16FileIsReadAsUnicode) {
    // With a UTF-16 byte order mark the values are Unicode and come out in
    // CP932: ｲﾝﾁ (half-width), 幅, ソ. é has no CP932 form; what it becomes
    // is the conversion's business, checked against the oracle only.
    const std::string bytes = Utf16Le(
        L"[Rimbeacon]\r\nInRim=7\uFF72\uFF9D\uFF81\r\nInOffset=45\u30BD\r\nInIn=\u5E45\r\n"
        L"OutRim=8\u00E9\r\n");
    ASSERT_TRUE(dir_.WriteFile(e2e::kSettingsFile, bytes));
    const Inputs rule = ReadAsTheProgramWould(e2e::kSettingsFile);
    EXPECT_EQ(rule.text[0], "7\xB2\xDD\xC1");
    EXPECT_EQ(rule.text[1], "45\x83\x5C");
    EXPECT_EQ(rule.text[2], "\x95\x9D");
    EXPECT_EQ(rule.text[3].substr(0, 1), "8");
    ASSERT_TRUE(app_.Start(dir_.Path())) << app_.Error();
    EXPECT_EQ(Shown(app_), rule);
    SavedInputsSurviveARestart();
}

TEST_F(SettingsRobustness, Utf8FileWithByteOrderMarkIsReadAsUnicode) {
    // ﾐﾘ in UTF-8 behind a UTF-8 byte order mark comes out as CP932 D0 D8.
    const std::string bytes =
        "\xEF\xBB\xBF[Rimbeacon]\r\nInRim=7\xEF\xBE\x90\xEF\xBE\x98\r\nInOffset=40\r\nInIn=20\r\nOutRim=8\r\n";
    StartOn(bytes, Make("7\xD0\xD8", "40", "20", "8"));
    SavedInputsSurviveARestart();
}

}  // namespace
