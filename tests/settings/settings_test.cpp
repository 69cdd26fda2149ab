// The settings file through the real profile functions (Wine's when run on
// Linux). Every case works in its own fresh temporary current directory;
// a case that needs several files enters a new directory for each, because
// the profile functions cache files by path and an outside rewrite of the
// same file within one clock tick could go unnoticed.
#include "settings/settings.h"
#include "tests/support/test_text.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr char kIniName[] = "Rimbeacon.ini";
constexpr std::size_t kPathSize = MAX_PATH;
constexpr std::size_t kMaxValueBytes = kFieldSize - 1;
constexpr DWORD kReadChunk = 4096;

// Code page 932 bytes.
constexpr char kHaba[] = "\x95\x9D";                   // a kanji, lead byte 95
constexpr char kHalfA = '\xB1';                        // half-width katakana a
constexpr char kWheelKatakana[] = "\xCE\xB2\xB0\xD9";  // half-width "hoiiru"
constexpr char kMiriKatakana[] = "\xD0\xD8";           // half-width "miri"
constexpr char kSoHyouji[] = "\x83\x5C\x95\x5C\x8E\xA6";  // trail bytes 5C, a backslash

// Old field contents that would show if a read left bytes untouched: lone
// lead bytes, the worst garbage a cut could leave behind.
constexpr char kJunkByte = '\x95';
constexpr char kUntouched[] = "keep";

constexpr char kSectionLine[] = "[Rimbeacon]\r\n";

std::string Repeat(const std::string& piece, std::size_t count)
{
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += piece;
    }
    return text;
}

WheelFields JunkFields()
{
    WheelFields fields;
    for (char* field : {fields.InRim, fields.InOffset, fields.InIn, fields.OutRim}) {
        std::memset(field, kJunkByte, kMaxValueBytes);
        field[kMaxValueBytes] = '\0';
    }
    std::memcpy(fields.OutOffset, kUntouched, sizeof kUntouched);
    return fields;
}

void WriteFileBytes(const char* name, const std::string& bytes)
{
    HANDLE file = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_TRUE(ok);
    ASSERT_EQ(written, bytes.size());
}

// The file's bytes, or "<missing>" when it cannot be opened.
std::string ReadFileBytes(const char* name)
{
    HANDLE file = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return "<missing>";
    }
    std::string bytes;
    char chunk[kReadChunk];
    DWORD got = 0;
    while (ReadFile(file, chunk, kReadChunk, &got, nullptr) && got > 0) {
        bytes.append(chunk, got);
    }
    CloseHandle(file);
    return bytes;
}

// Names in a directory, without "." and "..".
std::vector<std::string> Entries(const std::string& directory)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

void RemoveTree(const std::string& directory)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") {
                continue;
            }
            std::string path = directory + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(directory.c_str());
}

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(GetCurrentDirectoryA(kPathSize, previous_), 0u);
        char temp[kPathSize];
        ASSERT_NE(GetTempPathA(kPathSize, temp), 0u);
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root_ = std::string(temp) + "rimbeacon-settings-" + std::to_string(GetCurrentProcessId()) +
                "-" + info->name();
        RemoveTree(root_);
        ASSERT_TRUE(CreateDirectoryA(root_.c_str(), nullptr));
        EnterFreshDirectory();
    }

    void TearDown() override
    {
        SetCurrentDirectoryA(previous_);
        RemoveTree(root_);
        EXPECT_EQ(GetFileAttributesA(root_.c_str()), INVALID_FILE_ATTRIBUTES);
    }

    // Makes a new empty directory the current one.
    void EnterFreshDirectory()
    {
        current_ = root_ + "\\" + std::to_string(++directories_);
        ASSERT_TRUE(CreateDirectoryA(current_.c_str(), nullptr));
        ASSERT_TRUE(SetCurrentDirectoryA(current_.c_str()));
    }

    WheelFields LoadFrom(const std::string& fileBytes)
    {
        EnterFreshDirectory();
        WriteFileBytes(kIniName, fileBytes);
        WheelFields fields = JunkFields();
        LoadInputs(fields);
        EXPECT_EQ(ReadFileBytes(kIniName), fileBytes) << "loading changed the file";
        return fields;
    }

    bool TopMostFrom(const std::string& fileBytes)
    {
        EnterFreshDirectory();
        WriteFileBytes(kIniName, fileBytes);
        return LoadTopMost();
    }

    std::string current_;

private:
    char previous_[kPathSize] = {};
    std::string root_;
    int directories_ = 0;
};

void ExpectInputs(const WheelFields& fields, const std::string& inRim,
                  const std::string& inOffset, const std::string& inIn,
                  const std::string& outRim)
{
    EXPECT_EQ(std::string(fields.InRim), inRim);
    EXPECT_EQ(std::string(fields.InOffset), inOffset);
    EXPECT_EQ(std::string(fields.InIn), inIn);
    EXPECT_EQ(std::string(fields.OutRim), outRim);
    EXPECT_STREQ(fields.OutOffset, kUntouched);
}

TEST_F(SettingsFile, MissingFileSectionOrKeyGivesTheDefaults)
{
    WheelFields fields = JunkFields();
    LoadInputs(fields);
    ExpectInputs(fields, "6.5", "45", "20", "7");
    EXPECT_FALSE(LoadTopMost());
    EXPECT_TRUE(Entries(current_).empty()) << "loading created a file";

    {
        SCOPED_TRACE("keys only in another section");
        WheelFields other = LoadFrom("[Other]\r\nInRim=9\r\nInOffset=9\r\nInIn=9\r\nOutRim=9\r\n");
        ExpectInputs(other, "6.5", "45", "20", "7");
        EXPECT_FALSE(TopMostFrom("[Other]\r\nTopMost=1\r\n[Rimbeacon]\r\nInRim=8\r\n"));
    }
    {
        SCOPED_TRACE("some keys missing");
        WheelFields some = LoadFrom(std::string(kSectionLine) + "InIn=33\r\n");
        ExpectInputs(some, "6.5", "45", "33", "7");
    }
    {
        SCOPED_TRACE("empty file");
        ExpectInputs(LoadFrom(""), "6.5", "45", "20", "7");
    }
}

TEST_F(SettingsFile, PresentValuesLoadAsStoredBarBlanksAndOneQuotePair)
{
    {
        SCOPED_TRACE("empty, a word, blanks around, double quotes");
        WheelFields fields = LoadFrom(std::string(kSectionLine) +
                                      "InRim=\r\nInOffset=abc\r\nInIn=  12.5\t \r\nOutRim=\"8\"\r\n");
        ExpectInputs(fields, "", "abc", "12.5", "8");
    }
    {
        SCOPED_TRACE("single quotes, blanks inside quotes, two pairs, unmatched");
        WheelFields fields = LoadFrom(std::string(kSectionLine) +
                                      "InRim='7.5'\r\nInOffset=  \" 45 \"  \r\nInIn=\"\"20\"\"\r\n"
                                      "OutRim=\"7'\r\n");
        ExpectInputs(fields, "7.5", " 45 ", "\"20\"", "\"7'");
    }
    {
        SCOPED_TRACE("names in another letter case, blanks around the key");
        WheelFields fields = LoadFrom("[rimbeacon]\r\ninrim=8\r\n  OUTRIM = 9\r\n");
        ExpectInputs(fields, "8", "45", "20", "9");
    }
    {
        SCOPED_TRACE("lone quote, empty quotes");
        WheelFields fields = LoadFrom(std::string(kSectionLine) + "InRim=\"\r\nInIn=''\r\n");
        ExpectInputs(fields, "\"", "45", "", "7");
    }
}

TEST_F(SettingsFile, TopMostIsOnExactlyWhenTheValueStartsWithOne)
{
    struct Case {
        std::string line;
        bool on;
    };
    const Case cases[] = {
        {"TopMost=1", true},
        {"TopMost=10", true},
        {"TopMost=1x", true},
        {"TopMost= 1", true},
        {"TopMost=\t1 ", true},
        {"TopMost=\"1\"", true},
        {"topmost=1", true},
        {"TopMost=1" + Repeat("x", 40), true},  // longer than the 32-byte buffer
        {"TopMost=0", false},
        {"TopMost=", false},
        {"TopMost=yes", false},
        {"TopMost=01", false},
        {"TopMost=-1", false},
        {"TopMost=x1", false},
        {"TopMost=\"\"1", false},
        {"TopMost=" + Repeat(kHaba, 20), false},  // cut inside a kanji
        {"InRim=1", false},                       // key missing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(TopMostFrom(std::string(kSectionLine) + c.line + "\r\n"), c.on);
    }
}

TEST_F(SettingsFile, SaveTopMostWritesOneOrZeroAndKeepsTheInputs)
{
    SaveTopMost(true);
    EXPECT_EQ(ReadFileBytes(kIniName), std::string(kSectionLine) + "TopMost=1\r\n");
    EXPECT_TRUE(LoadTopMost());
    SaveTopMost(false);
    EXPECT_EQ(ReadFileBytes(kIniName), std::string(kSectionLine) + "TopMost=0\r\n");
    EXPECT_FALSE(LoadTopMost());

    EnterFreshDirectory();
    const std::string inputs = std::string(kSectionLine) +
                               "InRim=8\r\nInOffset=38\r\nInIn=15\r\nOutRim=225\r\n";
    WriteFileBytes(kIniName, inputs);
    SaveTopMost(true);
    EXPECT_EQ(ReadFileBytes(kIniName), inputs + "TopMost=1\r\n");
}

TEST_F(SettingsFile, SaveInputsWritesTheFourKeysInOrderAndNeverOutOffset)
{
    SaveInputs(test::MakeFields("6.5", "45", "20", "7", "31"));
    EXPECT_EQ(ReadFileBytes(kIniName), std::string(kSectionLine) +
                                           "InRim=6.5\r\nInOffset=45\r\nInIn=20\r\nOutRim=7\r\n");
    {
        SCOPED_TRACE("saving again replaces the values in place");
        SaveInputs(test::MakeFields("8", "38", "15", "225", "abc"));
        EXPECT_EQ(ReadFileBytes(kIniName),
                  std::string(kSectionLine) + "InRim=8\r\nInOffset=38\r\nInIn=15\r\nOutRim=225\r\n");
        EXPECT_EQ(Entries(current_), std::vector<std::string>{kIniName});
    }
    {
        SCOPED_TRACE("other sections and keys stay, missing keys are appended");
        EnterFreshDirectory();
        WriteFileBytes(kIniName, "[Other]\r\nInRim=1\r\n[Rimbeacon]\r\nTopMost=1\r\nInIn=5\r\n");
        SaveInputs(test::MakeFields("6.5", "45", "20", "7", "0"));
        EXPECT_EQ(ReadFileBytes(kIniName),
                  "[Other]\r\nInRim=1\r\n[Rimbeacon]\r\nTopMost=1\r\nInIn=20\r\n"
                  "InRim=6.5\r\nInOffset=45\r\nOutRim=7\r\n");
    }
}

TEST_F(SettingsFile, LongValuesAreCutTo255BytesWithoutHalfCharacters)
{
    const std::string a253(kMaxValueBytes - 2, 'a');
    const std::string a254(kMaxValueBytes - 1, 'a');
    {
        SCOPED_TRACE("single-byte text, and a kanji that ends exactly at byte 255");
        WheelFields fields = LoadFrom(std::string(kSectionLine) +
                                      "InRim=" + std::string(300, 'x') +
                                      "\r\nInOffset=" + std::string(kMaxValueBytes, 'y') +
                                      "\r\nInIn=" + std::string(300, kHalfA) +
                                      "\r\nOutRim=" + a253 + kHaba + "b\r\n");
        ExpectInputs(fields, std::string(kMaxValueBytes, 'x'), std::string(kMaxValueBytes, 'y'),
                     std::string(kMaxValueBytes, kHalfA), a253 + kHaba);
    }
    {
        // 255 bytes would end in the middle of a kanji: the whole kanji goes,
        // and no byte of the old field text is left in its place.
        SCOPED_TRACE("cut inside a kanji");
        WheelFields fields = LoadFrom(std::string(kSectionLine) +
                                      "InRim=" + a254 + kHaba + kHaba +
                                      "\r\nInIn=" + Repeat(kHaba, 200) + "\r\n");
        ExpectInputs(fields, a254, "45", Repeat(kHaba, kMaxValueBytes / 2), "7");
    }
}

TEST_F(SettingsFile, Cp932TextRoundTripsThroughTheFile)
{
    const std::string longKanji = Repeat(kHaba, kMaxValueBytes / 2) + "x";
    const std::string wheelHaba = std::string(kWheelKatakana) + kHaba;
    SaveInputs(test::MakeFields(wheelHaba, kSoHyouji, kMiriKatakana, longKanji, "0"));
    const std::string bytes = ReadFileBytes(kIniName);
    EXPECT_EQ(bytes, std::string(kSectionLine) + "InRim=" + wheelHaba + "\r\nInOffset=" +
                         kSoHyouji + "\r\nInIn=" + kMiriKatakana + "\r\nOutRim=" + longKanji +
                         "\r\n");

    // As the next run sees it: the same bytes, read from a file not seen before.
    WheelFields fields = LoadFrom(bytes);
    ExpectInputs(fields, wheelHaba, kSoHyouji, kMiriKatakana, longKanji);
}

// Running as root, Wine ignores the read-only attribute and directory
// permissions, so the failing writes are made by what stops root as well: a
// directory where the file should be, and the file held open without sharing.
TEST_F(SettingsFile, SavingWhereTheFileCannotBeCreatedChangesNothing)
{
    ASSERT_TRUE(CreateDirectoryA(kIniName, nullptr));
    SaveInputs(test::MakeFields("8", "38", "15", "225", "0"));
    SaveTopMost(true);

    EXPECT_EQ(Entries(current_), std::vector<std::string>{kIniName});
    const DWORD attributes = GetFileAttributesA(kIniName);
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(Entries(current_ + "\\" + kIniName).empty());

    WheelFields fields = JunkFields();
    LoadInputs(fields);
    ExpectInputs(fields, "6.5", "45", "20", "7");
    EXPECT_FALSE(LoadTopMost());
}

TEST_F(SettingsFile, SavingWhileTheFileIsLockedChangesNothing)
{
    const std::string stored = std::string(kSectionLine) +
                               "InRim=8\r\nInOffset=38\r\nInIn=15\r\nOutRim=225\r\nTopMost=1\r\n";
    WriteFileBytes(kIniName, stored);
    HANDLE lock = CreateFileA(kIniName, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    SaveInputs(test::MakeFields("6.5", "45", "20", "7", "0"));
    SaveTopMost(false);
    // Unreadable while locked: the defaults, as for a missing file.
    WheelFields whileLocked = JunkFields();
    LoadInputs(whileLocked);
    ExpectInputs(whileLocked, "6.5", "45", "20", "7");
    CloseHandle(lock);

    EXPECT_EQ(ReadFileBytes(kIniName), stored);
    EXPECT_EQ(Entries(current_), std::vector<std::string>{kIniName});
    WheelFields fields = JunkFields();
    LoadInputs(fields);
    ExpectInputs(fields, "8", "38", "15", "225");
    EXPECT_TRUE(LoadTopMost());
}

}  // namespace
