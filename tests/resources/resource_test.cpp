// Checks the resources linked into this executable from resources/rimbeacon.rc,
// read back through the Win32 resource API. Dialog templates are parsed byte
// by byte so that every style bit, rectangle and text is compared exactly.
#include <windows.h>
#include <commctrl.h>
#include <winver.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "resource.h"
#include "rimbeacon_version.h"

namespace {

const WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
const UINT kCodePage932 = 932;

struct Blob {
    const unsigned char* data = nullptr;
    DWORD size = 0;
};

Blob LoadBlob(LPCSTR type, WORD id) {
    Blob blob;
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
    if (found == nullptr) return blob;
    HGLOBAL loaded = LoadResource(module, found);
    if (loaded == nullptr) return blob;
    blob.data = static_cast<const unsigned char*>(LockResource(loaded));
    blob.size = SizeofResource(module, found);
    return blob;
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR param) {
    reinterpret_cast<std::vector<WORD>*>(param)->push_back(language);
    return TRUE;
}

std::vector<WORD> LanguagesOf(LPCSTR type, WORD id) {
    std::vector<WORD> languages;
    EnumResourceLanguagesA(GetModuleHandleA(nullptr), type, MAKEINTRESOURCEA(id), CollectLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
    return languages;
}

// Code page 932 bytes to UTF-16, refusing anything that is not valid CP932.
std::wstring FromCp932(const std::string& bytes) {
    if (bytes.empty()) return std::wstring();
    int n = MultiByteToWideChar(kCodePage932, MB_ERR_INVALID_CHARS, bytes.data(),
                                static_cast<int>(bytes.size()), nullptr, 0);
    if (n <= 0) return L"<invalid CP932>";
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(kCodePage932, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                        &wide[0], n);
    return wide;
}

// A name or ordinal field of a dialog template.
struct NameOrOrdinal {
    bool isOrdinal = false;
    WORD ordinal = 0;
    std::wstring name;
};

// Sequential little-endian reader over a resource; reads past the end yield
// zeros and set `overrun`, so a short template fails the checks instead of
// reading stray memory.
class Reader {
public:
    explicit Reader(Blob blob) : blob_(blob) {}

    WORD Word() {
        unsigned char b[2] = {0, 0};
        Take(b, sizeof b);
        return static_cast<WORD>(b[0] | (b[1] << 8));
    }
    DWORD Dword() {
        DWORD low = Word();
        DWORD high = Word();
        return low | (high << 16);
    }
    short Short() { return static_cast<short>(Word()); }
    unsigned char Byte() {
        unsigned char b = 0;
        Take(&b, 1);
        return b;
    }
    std::wstring String() {
        std::wstring text;
        for (WORD c = Word(); c != 0 && !overrun; c = Word()) text.push_back(static_cast<wchar_t>(c));
        return text;
    }
    NameOrOrdinal Field() {
        NameOrOrdinal field;
        WORD first = Word();
        if (first == 0xFFFF) {
            field.isOrdinal = true;
            field.ordinal = Word();
        } else if (first != 0) {
            field.name.push_back(static_cast<wchar_t>(first));
            field.name += String();
        }
        return field;
    }
    void AlignDword() { pos_ = (pos_ + 3u) & ~static_cast<DWORD>(3u); }
    void Skip(DWORD n) { pos_ += n; }
    bool AtEnd() const { return pos_ >= blob_.size; }
    bool overrun = false;

private:
    void Take(unsigned char* out, DWORD n) {
        if (pos_ + n > blob_.size) {
            overrun = true;
            pos_ += n;
            return;
        }
        std::memcpy(out, blob_.data + pos_, n);
        pos_ += n;
    }
    Blob blob_;
    DWORD pos_ = 0;
};

// The class of a control, in capitals: window class names are
// case-insensitive and windres writes them upper-cased; predefined classes
// may be stored as ordinals.
std::wstring ClassName(const NameOrOrdinal& field) {
    if (!field.isOrdinal) {
        std::wstring upper = field.name;
        for (wchar_t& c : upper)
            if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
        return upper;
    }
    switch (field.ordinal) {
    case 0x0080: return L"BUTTON";
    case 0x0081: return L"EDIT";
    case 0x0082: return L"STATIC";
    default: return L"<ordinal " + std::to_wstring(field.ordinal) + L">";
    }
}

struct Control {
    DWORD helpId = 0;
    DWORD exStyle = 0;
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    DWORD id = 0;
    std::wstring className;
    NameOrOrdinal text;
    WORD extraBytes = 0;
};

struct Dialog {
    bool extended = false;
    WORD version = 0;
    DWORD helpId = 0;
    DWORD exStyle = 0;
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    NameOrOrdinal menu;
    NameOrOrdinal windowClass;
    std::wstring caption;
    WORD pointSize = 0;
    WORD weight = 0;
    unsigned char italic = 0;
    unsigned char charset = 0;
    std::wstring face;
    std::vector<Control> controls;
    bool overrun = false;
    bool trailingBytes = false;
};

Dialog ParseDialog(Blob blob) {
    Dialog dialog;
    Reader in(blob);
    WORD count = 0;
    WORD first = in.Word();
    WORD second = in.Word();
    if (first == 1 && second == 0xFFFF) {
        dialog.extended = true;
        dialog.version = first;
        dialog.helpId = in.Dword();
        dialog.exStyle = in.Dword();
        dialog.style = in.Dword();
    } else {
        dialog.style = static_cast<DWORD>(first) | (static_cast<DWORD>(second) << 16);
        dialog.exStyle = in.Dword();
    }
    count = in.Word();
    dialog.x = in.Short();
    dialog.y = in.Short();
    dialog.cx = in.Short();
    dialog.cy = in.Short();
    dialog.menu = in.Field();
    dialog.windowClass = in.Field();
    dialog.caption = in.String();
    if ((dialog.style & DS_SETFONT) != 0) {
        dialog.pointSize = in.Word();
        if (dialog.extended) {
            dialog.weight = in.Word();
            dialog.italic = in.Byte();
            dialog.charset = in.Byte();
        }
        dialog.face = in.String();
    }
    for (WORD i = 0; i < count && !in.overrun; ++i) {
        in.AlignDword();
        Control control;
        if (dialog.extended) {
            control.helpId = in.Dword();
            control.exStyle = in.Dword();
            control.style = in.Dword();
        } else {
            control.style = in.Dword();
            control.exStyle = in.Dword();
        }
        control.x = in.Short();
        control.y = in.Short();
        control.cx = in.Short();
        control.cy = in.Short();
        control.id = dialog.extended ? in.Dword() : in.Word();
        control.className = ClassName(in.Field());
        control.text = in.Field();
        control.extraBytes = in.Word();
        in.Skip(control.extraBytes);
        dialog.controls.push_back(control);
    }
    in.AlignDword();
    dialog.overrun = in.overrun;
    dialog.trailingBytes = !in.AtEnd();
    return dialog;
}

const DWORD kChild = WS_CHILD | WS_VISIBLE;
const DWORD kEdit = kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
const DWORD kWidthSpin = kChild | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS | UDS_NOTHOUSANDS;
const DWORD kIntSpin = kWidthSpin | UDS_SETBUDDYINT;
const DWORD kLabel = kChild | WS_GROUP;

struct ExpectedControl {
    DWORD id;
    const wchar_t* className;
    const char* text;  // code page 932
    short x, y, cx, cy;
    DWORD style;
};

// "ＭＳ Ｐゴシック"
const char kDialogFace[] = "\x82\x6c\x82\x72\x20\x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e";

const ExpectedControl kMainControls[] = {
    {IDC_IN_RIM, L"EDIT", "", 47, 11, 27, 12, kEdit},
    {IDC_IN_RIM_SPIN, L"MSCTLS_UPDOWN32", "Spin1", 97, 11, 6, 12, kWidthSpin},
    {IDC_IN_OFFSET, L"EDIT", "", 47, 27, 27, 12, kEdit},
    {IDC_IN_OFFSET_SPIN, L"MSCTLS_UPDOWN32", "Spin2", 97, 28, 6, 11, kIntSpin},
    {IDC_IN_IN, L"EDIT", "", 47, 43, 27, 12, kEdit},
    {IDC_IN_IN_SPIN, L"MSCTLS_UPDOWN32", "Spin3", 97, 44, 6, 12, kIntSpin},
    {IDC_OUT_RIM, L"EDIT", "", 47, 71, 27, 12, kEdit},
    {IDC_OUT_RIM_SPIN, L"MSCTLS_UPDOWN32", "Spin4", 97, 71, 6, 11, kWidthSpin},
    {IDC_OUT_OFFSET, L"EDIT", "", 47, 87, 27, 12, kEdit},
    {IDC_OUT_OFFSET_SPIN, L"MSCTLS_UPDOWN32", "Spin5", 98, 87, 6, 11, kIntSpin},
    // "常に最前面に表示"
    {IDC_TOPMOST, L"BUTTON", "\x8f\xed\x82\xc9\x8d\xc5\x91\x4f\x96\xca\x82\xc9\x95\x5c\x8e\xa6", 2, 126, 70, 10,
     kChild | WS_TABSTOP | BS_AUTOCHECKBOX},
    // "基準となるﾎｲｰﾙのﾃﾞｰﾀ"
    {IDC_REF_HEADING, L"STATIC",
     "\x8a\xee\x8f\x80\x82\xc6\x82\xc8\x82\xe9\xce\xb2\xb0\xd9\x82\xcc\xc3\xde\xb0\xc0", 2, 2, 87, 8, kLabel},
    // "ﾘﾑ幅/ﾀｲﾔ幅"
    {IDC_IN_RIM_LABEL, L"STATIC", "\xd8\xd1\x95\x9d\x2f\xc0\xb2\xd4\x95\x9d", 2, 13, 40, 11, kLabel},
    // "ｲﾝﾁ/ﾐﾘ"
    {IDC_IN_RIM_UNIT, L"STATIC", "\xb2\xdd\xc1\x2f\xd0\xd8", 76, 14, 28, 10, kLabel},
    // "ｵﾌｾｯﾄ値"
    {IDC_IN_OFFSET_LABEL, L"STATIC", "\xb5\xcc\xbe\xaf\xc4\x92\x6c", 2, 30, 36, 11, kLabel},
    // "ﾐﾘ"
    {IDC_IN_OFFSET_UNIT, L"STATIC", "\xd0\xd8", 76, 30, 11, 10, kLabel},
    // "外側余裕"
    {IDC_IN_IN_LABEL, L"STATIC", "\x8a\x4f\x91\xa4\x97\x5d\x97\x54", 2, 45, 38, 11, kLabel},
    {IDC_IN_IN_UNIT, L"STATIC", "\xd0\xd8", 76, 46, 12, 10, kLabel},
    // "知りたいﾎｲｰﾙのﾃﾞｰﾀ"
    {IDC_OUT_HEADING, L"STATIC",
     "\x92\x6d\x82\xe8\x82\xbd\x82\xa2\xce\xb2\xb0\xd9\x82\xcc\xc3\xde\xb0\xc0", 2, 61, 79, 8, kLabel},
    {IDC_OUT_RIM_LABEL, L"STATIC", "\xd8\xd1\x95\x9d\x2f\xc0\xb2\xd4\x95\x9d", 2, 73, 40, 11, kLabel},
    {IDC_OUT_RIM_UNIT, L"STATIC", "\xb2\xdd\xc1\x2f\xd0\xd8", 76, 73, 21, 10, kLabel},
    // "最適ｵﾌｾｯﾄ値取得"
    {IDC_OPTIMAL_LINK, L"STATIC", "\x8d\xc5\x93\x4b\xb5\xcc\xbe\xaf\xc4\x92\x6c\x8e\xe6\x93\xbe", 35, 101, 55, 8,
     kLabel | SS_NOTIFY},
    {IDC_OUT_OFFSET_LABEL, L"STATIC", "\xb5\xcc\xbe\xaf\xc4\x92\x6c", 2, 89, 36, 11, kLabel},
    {IDC_OUT_OFFSET_UNIT, L"STATIC", "\xd0\xd8", 76, 89, 12, 10, kLabel},
    // "ﾌｪﾝﾀﾞｰ"
    {IDC_FENDER_CAPTION, L"STATIC", "\xcc\xaa\xdd\xc0\xde\xb0", 162, 7, 22, 8, kLabel},
    // "内側"
    {IDC_INSIDE_CAPTION, L"STATIC", "\x93\xe0\x91\xa4", 141, 21, 15, 8, kLabel},
    // "外側"
    {IDC_OUTSIDE_CAPTION, L"STATIC", "\x8a\x4f\x91\xa4", 187, 21, 15, 8, kLabel},
};

void ExpectControl(const Control& actual, const ExpectedControl& expected, size_t index) {
    SCOPED_TRACE("control #" + std::to_string(index + 1) + ", id " + std::to_string(expected.id));
    EXPECT_EQ(actual.id, expected.id);
    EXPECT_EQ(actual.className, std::wstring(expected.className));
    EXPECT_FALSE(actual.text.isOrdinal);
    EXPECT_EQ(actual.text.name, FromCp932(expected.text));
    EXPECT_EQ(actual.x, expected.x);
    EXPECT_EQ(actual.y, expected.y);
    EXPECT_EQ(actual.cx, expected.cx);
    EXPECT_EQ(actual.cy, expected.cy);
    EXPECT_EQ(actual.style, expected.style) << std::hex << "actual 0x" << actual.style << ", expected 0x"
                                            << expected.style;
    EXPECT_EQ(actual.exStyle, 0u);
    EXPECT_EQ(actual.helpId, 0u);
    EXPECT_EQ(actual.extraBytes, 0u);
}

// ---------------------------------------------------------------------------

TEST(ResourceLanguage, EveryResourceIsJapaneseOnly) {
    const std::vector<WORD> japanese{kJapanese};
    EXPECT_EQ(LanguagesOf(RT_DIALOG, IDD_MAIN), japanese);
    EXPECT_EQ(LanguagesOf(RT_DIALOG, IDD_ABOUT), japanese);
    EXPECT_EQ(LanguagesOf(RT_BITMAP, IDB_BACKGROUND), japanese);
    EXPECT_EQ(LanguagesOf(RT_GROUP_ICON, IDI_RIMBEACON), japanese);
    EXPECT_EQ(LanguagesOf(RT_GROUP_CURSOR, IDC_HAND_CURSOR), japanese);
    EXPECT_EQ(LanguagesOf(RT_MANIFEST, 1), japanese);
    EXPECT_EQ(LanguagesOf(RT_VERSION, VS_VERSION_INFO), japanese);
}

TEST(MainDialogTemplate, HeaderIsClassicWithCaptionFontStylesAndSize) {
    Blob blob = LoadBlob(RT_DIALOG, IDD_MAIN);
    ASSERT_NE(blob.data, nullptr);
    Dialog dialog = ParseDialog(blob);
    EXPECT_FALSE(dialog.overrun);
    EXPECT_FALSE(dialog.trailingBytes);
    EXPECT_FALSE(dialog.extended);
    EXPECT_EQ(dialog.style,
              static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_CENTER | DS_MODALFRAME |
                                 DS_SETFONT));
    EXPECT_EQ(dialog.exStyle, 0u);
    EXPECT_EQ(dialog.x, 0);
    EXPECT_EQ(dialog.y, 0);
    EXPECT_EQ(dialog.cx, 211);
    EXPECT_EQ(dialog.cy, 137);
    EXPECT_FALSE(dialog.menu.isOrdinal);
    EXPECT_EQ(dialog.menu.name, L"");
    EXPECT_FALSE(dialog.windowClass.isOrdinal);
    EXPECT_EQ(dialog.windowClass.name, L"");
    EXPECT_EQ(dialog.caption, L"Rimbeacon");
    EXPECT_EQ(dialog.pointSize, 9);
    EXPECT_EQ(dialog.face, FromCp932(kDialogFace));
    EXPECT_EQ(dialog.face, L"\xff2d\xff33\x0020\xff30\x30b4\x30b7\x30c3\x30af");
}

TEST(MainDialogTemplate, ControlsInTabOrderWithIdsClassesTextsRectsAndStyles) {
    Blob blob = LoadBlob(RT_DIALOG, IDD_MAIN);
    ASSERT_NE(blob.data, nullptr);
    Dialog dialog = ParseDialog(blob);
    const size_t expectedCount = sizeof kMainControls / sizeof kMainControls[0];
    ASSERT_EQ(expectedCount, 27u);
    ASSERT_EQ(dialog.controls.size(), expectedCount);
    for (size_t i = 0; i < expectedCount; ++i) ExpectControl(dialog.controls[i], kMainControls[i], i);
}

TEST(MainDialogTemplate, EachSpinnerFollowsItsEdit) {
    // Auto-buddy binds an up-down control to the control just before it.
    Blob blob = LoadBlob(RT_DIALOG, IDD_MAIN);
    ASSERT_NE(blob.data, nullptr);
    Dialog dialog = ParseDialog(blob);
    const DWORD pairs[][2] = {{IDC_IN_RIM, IDC_IN_RIM_SPIN},
                              {IDC_IN_OFFSET, IDC_IN_OFFSET_SPIN},
                              {IDC_IN_IN, IDC_IN_IN_SPIN},
                              {IDC_OUT_RIM, IDC_OUT_RIM_SPIN},
                              {IDC_OUT_OFFSET, IDC_OUT_OFFSET_SPIN}};
    for (const auto& pair : pairs) {
        size_t spin = 0;
        while (spin < dialog.controls.size() && dialog.controls[spin].id != pair[1]) ++spin;
        ASSERT_LT(spin, dialog.controls.size()) << pair[1];
        ASSERT_GT(spin, 0u);
        EXPECT_EQ(dialog.controls[spin - 1].id, pair[0]);
        EXPECT_EQ(dialog.controls[spin].style & UDS_AUTOBUDDY, static_cast<DWORD>(UDS_AUTOBUDDY));
    }
    // Only the five edits and the check box take the tab key.
    std::set<DWORD> tabStops;
    for (const Control& control : dialog.controls)
        if ((control.style & WS_TABSTOP) != 0) tabStops.insert(control.id);
    EXPECT_EQ(tabStops, (std::set<DWORD>{IDC_IN_RIM, IDC_IN_OFFSET, IDC_IN_IN, IDC_OUT_RIM, IDC_OUT_OFFSET,
                                         IDC_TOPMOST}));
}

TEST(MainDialogTemplate, CheckBoxTextSurvivesItsBackslashTrailByte) {
    // The sixth character's second CP932 byte is 0x5C; a resource compiler
    // reading it as an escape would mangle the text.
    Blob blob = LoadBlob(RT_DIALOG, IDD_MAIN);
    ASSERT_NE(blob.data, nullptr);
    Dialog dialog = ParseDialog(blob);
    ASSERT_GT(dialog.controls.size(), 10u);
    EXPECT_EQ(dialog.controls[10].text.name, L"\x5e38\x306b\x6700\x524d\x9762\x306b\x8868\x793a");
}

TEST(AboutDialogTemplate, HeaderIsExtendedWithCaptionFontStylesAndSize) {
    Blob blob = LoadBlob(RT_DIALOG, IDD_ABOUT);
    ASSERT_NE(blob.data, nullptr);
    Dialog dialog = ParseDialog(blob);
    EXPECT_FALSE(dialog.overrun);
    EXPECT_FALSE(dialog.trailingBytes);
    EXPECT_TRUE(dialog.extended);
    EXPECT_EQ(dialog.version, 1);
    EXPECT_EQ(dialog.helpId, 0u);
    EXPECT_EQ(dialog.style,
              static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_CENTER | DS_MODALFRAME | DS_SETFONT));
    EXPECT_EQ(dialog.exStyle, 0u);
    EXPECT_EQ(dialog.x, 0);
    EXPECT_EQ(dialog.y, 0);
    EXPECT_EQ(dialog.cx, 179);
    EXPECT_EQ(dialog.cy, 51);
    EXPECT_FALSE(dialog.menu.isOrdinal);
    EXPECT_EQ(dialog.menu.name, L"");
    EXPECT_FALSE(dialog.windowClass.isOrdinal);
    EXPECT_EQ(dialog.windowClass.name, L"");
    // "バージョン情報"
    EXPECT_EQ(dialog.caption, FromCp932("\x83\x6f\x81\x5b\x83\x57\x83\x87\x83\x93\x8f\xee\x95\xf1"));
    EXPECT_EQ(dialog.pointSize, 9);
    EXPECT_EQ(dialog.weight, 0);
    EXPECT_EQ(dialog.italic, 0);
    EXPECT_EQ(dialog.charset, 0);
    EXPECT_EQ(dialog.face, FromCp932(kDialogFace));
}

TEST(AboutDialogTemplate, ButtonIconVersionAndLinkInOrder) {
    Blob blob = LoadBlob(RT_DIALOG, IDD_ABOUT);
    ASSERT_NE(blob.data, nullptr);
    Dialog dialog = ParseDialog(blob);
    ASSERT_EQ(dialog.controls.size(), 4u);
    const DWORD noId = static_cast<DWORD>(-1);

    const ExpectedControl ok = {IDOK, L"BUTTON", "OK", 133, 18, 35, 14, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON};
    ExpectControl(dialog.controls[0], ok, 0);

    const Control& icon = dialog.controls[1];
    EXPECT_EQ(icon.id, noId);
    EXPECT_EQ(icon.className, L"STATIC");
    EXPECT_TRUE(icon.text.isOrdinal);
    EXPECT_EQ(icon.text.ordinal, IDI_RIMBEACON);
    EXPECT_EQ(icon.x, 11);
    EXPECT_EQ(icon.y, 13);
    EXPECT_EQ(icon.cx, 20);
    EXPECT_EQ(icon.cy, 20);
    EXPECT_EQ(icon.style, kChild | SS_ICON);
    EXPECT_EQ(icon.exStyle, 0u);
    EXPECT_EQ(icon.helpId, 0u);
    EXPECT_EQ(icon.extraBytes, 0u);

    const ExpectedControl version = {noId, L"STATIC", "Rimbeacon Version " RIMBEACON_VERSION_TEXT, 44, 14, 84, 8,
                                     kLabel};
    ExpectControl(dialog.controls[2], version, 2);

    const ExpectedControl link = {IDC_ABOUT_LINK, L"STATIC", RIMBEACON_WEB_ADDRESS, 44, 27, 50, 8,
                                  kLabel | SS_NOTIFY};
    ExpectControl(dialog.controls[3], link, 3);
}

TEST(AboutDialogTemplate, WebAddressIsSchemeHostAndRootPath) {
    const std::string address = RIMBEACON_WEB_ADDRESS;
    const std::string scheme = "http://";
    ASSERT_EQ(address.compare(0, scheme.size(), scheme), 0) << address;
    const std::string host = address.substr(scheme.size(), address.size() - scheme.size() - 1);
    EXPECT_EQ(address.back(), '/');
    EXPECT_FALSE(host.empty());
    EXPECT_EQ(host.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789.-"), std::string::npos) << host;
}

// ---------------------------------------------------------------------------

// The version resource, read the way the shell's file properties read it:
// from the file, through the version API.
const DWORD kFixedFileInfoSignature = 0xFEEF04BD;
const WORD kCodePage932Translation = 932;
const size_t kVersionParts = 4;
const unsigned kVersionPartLimit = 0xFFFF;
const char kStringBlock[] = "\\StringFileInfo\\041103A4\\";
// "ホイールの適合計算ツール"
const char kFileDescription[] =
    "\x83\x7a\x83\x43\x81\x5b\x83\x8b\x82\xcc\x93\x4b\x8d\x87\x8c\x76\x8e\x5a\x83\x63\x81\x5b\x83\x8b";

std::vector<unsigned char> ReadOwnVersionInfo() {
    std::vector<unsigned char> info;
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return info;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0) return info;
    info.resize(size);
    if (!GetFileVersionInfoA(path, 0, size, info.data())) info.clear();
    return info;
}

// A string value of the Japanese block, or "<missing>".
std::string VersionString(std::vector<unsigned char>& info, const char* key) {
    const std::string path = std::string(kStringBlock) + key;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(info.data(), path.c_str(), &value, &length) || value == nullptr) return "<missing>";
    return std::string(static_cast<const char*>(value));
}

// "1.2" or "1.2.3.4" as its numbers, at most four and each within 16 bits;
// empty when the text is not such a version.
std::vector<unsigned> VersionNumbers(const std::string& text) {
    std::vector<unsigned> numbers;
    unsigned part = 0;
    bool digits = false;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            part = part * 10u + static_cast<unsigned>(c - '0');
            if (part > kVersionPartLimit) return {};
            digits = true;
        } else if (c == '.' && digits) {
            numbers.push_back(part);
            part = 0;
            digits = false;
        } else {
            return {};
        }
    }
    if (!digits) return {};
    numbers.push_back(part);
    if (numbers.size() > kVersionParts) return {};
    numbers.resize(kVersionParts, 0u);
    return numbers;
}

TEST(VersionResource, NamesTheProgramAndTheVersionThatTheAboutBoxShows) {
    std::vector<unsigned char> info = ReadOwnVersionInfo();
    ASSERT_FALSE(info.empty());

    const std::string version = VersionString(info, "FileVersion");
    EXPECT_EQ(version, RIMBEACON_VERSION_TEXT);
    EXPECT_EQ(VersionString(info, "ProductVersion"), version);
    EXPECT_EQ(VersionString(info, "ProductName"), "Rimbeacon");
    EXPECT_EQ(VersionString(info, "OriginalFilename"), "Rimbeacon.exe");
    // The description through the wide call: its comparison does not depend
    // on the code page this test runs under.
    void* value = nullptr;
    UINT length = 0;
    const std::string narrowPath = std::string(kStringBlock) + "FileDescription";
    const std::wstring descriptionPath(narrowPath.begin(), narrowPath.end());
    ASSERT_TRUE(VerQueryValueW(info.data(), descriptionPath.c_str(), &value, &length));
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(value)), FromCp932(kFileDescription));

    // One translation: Japanese in code page 932, the block read above.
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", &value, &length));
    ASSERT_EQ(length, 2 * sizeof(WORD));
    const WORD* translation = static_cast<const WORD*>(value);
    EXPECT_EQ(translation[0], kJapanese);
    EXPECT_EQ(translation[1], kCodePage932Translation);

    // The numbers say what the text says, and match the generated header.
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", &value, &length));
    ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    VS_FIXEDFILEINFO fixed;
    std::memcpy(&fixed, value, sizeof fixed);
    EXPECT_EQ(fixed.dwSignature, kFixedFileInfoSignature);
    const std::vector<unsigned> numbers = VersionNumbers(version);
    ASSERT_EQ(numbers.size(), kVersionParts) << version;
    EXPECT_EQ(numbers, (std::vector<unsigned>{RIMBEACON_VERSION_MAJOR, RIMBEACON_VERSION_MINOR,
                                              RIMBEACON_VERSION_PATCH, RIMBEACON_VERSION_TWEAK}));
    const DWORD high = static_cast<DWORD>(MAKELONG(numbers[1], numbers[0]));
    const DWORD low = static_cast<DWORD>(MAKELONG(numbers[3], numbers[2]));
    EXPECT_EQ(fixed.dwFileVersionMS, high);
    EXPECT_EQ(fixed.dwFileVersionLS, low);
    EXPECT_EQ(fixed.dwProductVersionMS, high);
    EXPECT_EQ(fixed.dwProductVersionLS, low);
    EXPECT_EQ(fixed.dwFileFlags & fixed.dwFileFlagsMask, 0u);
    EXPECT_EQ(fixed.dwFileOS, static_cast<DWORD>(VOS_NT_WINDOWS32));
    EXPECT_EQ(fixed.dwFileType, static_cast<DWORD>(VFT_APP));

    // The about box shows the very same version.
    Blob about = LoadBlob(RT_DIALOG, IDD_ABOUT);
    ASSERT_NE(about.data, nullptr);
    Dialog dialog = ParseDialog(about);
    ASSERT_EQ(dialog.controls.size(), 4u);
    EXPECT_EQ(dialog.controls[2].text.name, FromCp932("Rimbeacon Version " + version));
}

// ---------------------------------------------------------------------------

TEST(BackgroundBitmap, Is369By230With256ColourPalette) {
    HBITMAP picture = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_BACKGROUND));
    ASSERT_NE(picture, nullptr);
    BITMAP info;
    std::memset(&info, 0, sizeof info);
    EXPECT_EQ(GetObjectA(picture, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmWidth, 369);
    EXPECT_EQ(info.bmHeight, 230);
    DeleteObject(picture);

    // LoadBitmap gives a device-dependent copy; the stored depth is in the
    // resource's own header.
    Blob blob = LoadBlob(RT_BITMAP, IDB_BACKGROUND);
    ASSERT_NE(blob.data, nullptr);
    ASSERT_GE(blob.size, sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER header;
    std::memcpy(&header, blob.data, sizeof header);
    EXPECT_EQ(header.biSize, sizeof(BITMAPINFOHEADER));
    EXPECT_EQ(header.biWidth, 369);
    EXPECT_EQ(header.biHeight, 230);
    EXPECT_EQ(header.biPlanes, 1);
    EXPECT_EQ(header.biBitCount, 8);
    EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_TRUE(header.biClrUsed == 0 || header.biClrUsed == 256) << header.biClrUsed;
    const DWORD stride = (369 + 3) & ~3u;
    EXPECT_EQ(blob.size, sizeof header + 256 * sizeof(RGBQUAD) + stride * 230);
}

// Luma in thousandths, integer only: 299 R + 587 G + 114 B.
int Luma(const RGBQUAD& c) { return 299 * c.rgbRed + 587 * c.rgbGreen + 114 * c.rgbBlue; }

TEST(BackgroundBitmap, StaysLightBlueVioletAndBrightestAtTheLeft) {
    Blob blob = LoadBlob(RT_BITMAP, IDB_BACKGROUND);
    ASSERT_NE(blob.data, nullptr);
    const DWORD stride = (369 + 3) & ~3u;
    ASSERT_EQ(blob.size, sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD) + stride * 230);
    std::vector<RGBQUAD> palette(256);
    std::memcpy(palette.data(), blob.data + sizeof(BITMAPINFOHEADER), 256 * sizeof(RGBQUAD));
    const unsigned char* bits = blob.data + sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD);

    // The grey outline (100,100,100) has luma 100000; every pixel must stay
    // far lighter so the outlines and dark texts remain readable.
    const int kMinimumLuma = 150000;
    long long leftSum = 0, rightSum = 0;
    int darkest = 255000;
    for (int row = 0; row < 230; ++row) {
        for (int x = 0; x < 369; ++x) {
            const RGBQUAD& c = palette[bits[static_cast<DWORD>(row) * stride + static_cast<DWORD>(x)]];
            const int luma = Luma(c);
            if (luma < darkest) darkest = luma;
            // Pale blue-violet: blue never below red or green.
            ASSERT_GE(c.rgbBlue, c.rgbRed) << x << "," << row;
            ASSERT_GE(c.rgbBlue, c.rgbGreen) << x << "," << row;
            if (x < 123) leftSum += luma;
            if (x >= 246) rightSum += luma;
        }
    }
    EXPECT_GE(darkest, kMinimumLuma);
    EXPECT_GT(leftSum, rightSum);
    // Not a flat fill: the wheel shows.
    EXPECT_LT(darkest, 230000);
}

// ---------------------------------------------------------------------------

TEST(ProgramIcon, GroupHoldsExactlySixSizesAt32BitsPerPixel) {
    Blob group = LoadBlob(RT_GROUP_ICON, IDI_RIMBEACON);
    ASSERT_NE(group.data, nullptr);
    Reader in(group);
    EXPECT_EQ(in.Word(), 0);
    EXPECT_EQ(in.Word(), 1);  // icons, not cursors
    const WORD count = in.Word();
    ASSERT_EQ(count, 6);
    std::vector<int> sizes;
    for (WORD i = 0; i < count; ++i) {
        const int width = in.Byte();
        const int height = in.Byte();
        in.Byte();  // colour count
        in.Byte();  // reserved
        EXPECT_EQ(in.Word(), 1);   // planes
        EXPECT_EQ(in.Word(), 32);  // bits per pixel
        in.Dword();                // bytes
        in.Word();                 // image id
        EXPECT_EQ(width, height);
        sizes.push_back(width == 0 ? 256 : width);
    }
    EXPECT_FALSE(in.overrun);
    EXPECT_EQ(sizes, (std::vector<int>{16, 24, 32, 48, 64, 256}));
}

// Reads one icon image of the group, chosen by size through the system's
// own lookup, as top-down RGBA rows.
struct IconPixels {
    int size = 0;
    bool png = false;
    std::vector<RGBQUAD> pixels;  // DIB images only
};

IconPixels LoadIconImage(int size) {
    IconPixels result;
    Blob group = LoadBlob(RT_GROUP_ICON, IDI_RIMBEACON);
    if (group.data == nullptr) return result;
    int id = LookupIconIdFromDirectoryEx(const_cast<PBYTE>(group.data), TRUE, size, size, LR_DEFAULTCOLOR);
    if (id <= 0) return result;
    Blob image = LoadBlob(RT_ICON, static_cast<WORD>(id));
    if (image.data == nullptr || image.size < 24) return result;
    static const unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (std::memcmp(image.data, kPngSignature, 8) == 0) {
        result.png = true;
        // IHDR width and height, big-endian, right after the chunk header.
        auto be32 = [&](DWORD at) {
            return static_cast<int>((image.data[at] << 24) | (image.data[at + 1] << 16) |
                                    (image.data[at + 2] << 8) | image.data[at + 3]);
        };
        if (be32(16) == be32(20) && image.size > 25 && image.data[24] == 8 && image.data[25] == 6)
            result.size = be32(16);
        return result;
    }
    BITMAPINFOHEADER header;
    std::memcpy(&header, image.data, sizeof header);
    if (header.biBitCount != 32 || header.biHeight != 2 * header.biWidth || header.biWidth <= 0) return result;
    const int n = header.biWidth;
    const DWORD colourBytes = static_cast<DWORD>(n) * static_cast<DWORD>(n) * 4u;
    if (image.size < header.biSize + colourBytes) return result;
    result.size = n;
    result.pixels.resize(static_cast<size_t>(n) * static_cast<size_t>(n));
    for (int row = 0; row < n; ++row)
        std::memcpy(&result.pixels[static_cast<size_t>(n - 1 - row) * static_cast<size_t>(n)],
                    image.data + header.biSize + static_cast<DWORD>(row) * static_cast<DWORD>(n) * 4u,
                    static_cast<size_t>(n) * 4u);
    return result;
}

TEST(ProgramIcon, EachSizeIsARoundVioletDiscTransparentOutside) {
    for (int size : {16, 24, 32, 48, 64}) {
        SCOPED_TRACE("size " + std::to_string(size));
        IconPixels icon = LoadIconImage(size);
        ASSERT_EQ(icon.size, size);
        ASSERT_FALSE(icon.png);
        auto at = [&](int x, int y) { return icon.pixels[static_cast<size_t>(y * size + x)]; };
        // Corners lie outside the circle.
        EXPECT_EQ(at(0, 0).rgbReserved, 0);
        EXPECT_EQ(at(size - 1, 0).rgbReserved, 0);
        EXPECT_EQ(at(0, size - 1).rgbReserved, 0);
        EXPECT_EQ(at(size - 1, size - 1).rgbReserved, 0);
        // Middle of the left edge: the pale lavender ring, opaque.
        const RGBQUAD ring = at(1, size / 2);
        EXPECT_EQ(ring.rgbReserved, 255);
        EXPECT_GT(Luma(ring), 180000);
        EXPECT_GT(ring.rgbBlue, ring.rgbGreen);
        // Inside the ring, above the mark: the dark-violet disc.
        const RGBQUAD disc = at(size / 2, size / 4);
        EXPECT_EQ(disc.rgbReserved, 255);
        EXPECT_LT(Luma(disc), 90000);
        EXPECT_GT(disc.rgbBlue, disc.rgbGreen);
        EXPECT_GT(disc.rgbRed, disc.rgbGreen);
    }
    IconPixels large = LoadIconImage(256);
    EXPECT_TRUE(large.png);
    EXPECT_EQ(large.size, 256);
}

TEST(ProgramIcon, SystemLoadsEverySize) {
    for (int size : {16, 24, 32, 48, 64, 256}) {
        SCOPED_TRACE("size " + std::to_string(size));
        HICON icon = static_cast<HICON>(
            LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_RIMBEACON), IMAGE_ICON, size, size, 0));
        ASSERT_NE(icon, nullptr);
        ICONINFO info;
        std::memset(&info, 0, sizeof info);
        ASSERT_TRUE(GetIconInfo(icon, &info));
        EXPECT_TRUE(info.fIcon);
        ASSERT_NE(info.hbmColor, nullptr);
        BITMAP colour;
        std::memset(&colour, 0, sizeof colour);
        GetObjectA(info.hbmColor, sizeof colour, &colour);
        EXPECT_EQ(colour.bmWidth, size);
        EXPECT_EQ(colour.bmHeight, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
    EXPECT_NE(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_RIMBEACON)), nullptr);
}

// ---------------------------------------------------------------------------

TEST(HandCursor, GroupHoldsOneMonochrome32By32Image) {
    Blob group = LoadBlob(RT_GROUP_CURSOR, IDC_HAND_CURSOR);
    ASSERT_NE(group.data, nullptr);
    Reader in(group);
    EXPECT_EQ(in.Word(), 0);
    EXPECT_EQ(in.Word(), 2);  // cursors
    ASSERT_EQ(in.Word(), 1);
    EXPECT_EQ(in.Word(), 32);  // width
    EXPECT_EQ(in.Word(), 64);  // height of colour and mask together
    EXPECT_EQ(in.Word(), 1);   // planes
    EXPECT_EQ(in.Word(), 1);   // bits per pixel
    in.Dword();
    const WORD id = in.Word();
    EXPECT_FALSE(in.overrun);

    Blob image = LoadBlob(RT_CURSOR, id);
    ASSERT_NE(image.data, nullptr);
    Reader cursor(image);
    EXPECT_EQ(cursor.Word(), 0);  // hot spot x
    EXPECT_EQ(cursor.Word(), 0);  // hot spot y
    ASSERT_GE(image.size, 4 + sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER header;
    std::memcpy(&header, image.data + 4, sizeof header);
    EXPECT_EQ(header.biWidth, 32);
    EXPECT_EQ(header.biHeight, 64);
    EXPECT_EQ(header.biBitCount, 1);
}

TEST(HandCursor, SystemCursorHasHotSpotAtTopLeftAndFingertipJustRightOfIt) {
    HCURSOR hand = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_HAND_CURSOR));
    ASSERT_NE(hand, nullptr);
    ICONINFO info;
    std::memset(&info, 0, sizeof info);
    ASSERT_TRUE(GetIconInfo(hand, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 0u);
    EXPECT_EQ(info.yHotspot, 0u);
    EXPECT_EQ(info.hbmColor, nullptr);  // monochrome: mask only
    ASSERT_NE(info.hbmMask, nullptr);
    BITMAP mask;
    std::memset(&mask, 0, sizeof mask);
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(mask.bmWidth, 32);
    EXPECT_EQ(mask.bmHeight, 64);
    EXPECT_EQ(mask.bmBitsPixel, 1);

    // Top half of the mask is AND (1 = see-through); the top row's drawn
    // pixels are the fingertip.
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[2];
    } bmi;
    std::memset(&bmi, 0, sizeof bmi);
    bmi.header.biSize = sizeof bmi.header;
    bmi.header.biWidth = 32;
    bmi.header.biHeight = -64;
    bmi.header.biPlanes = 1;
    bmi.header.biBitCount = 1;
    DWORD rows[64];
    std::memset(rows, 0, sizeof rows);
    HDC screen = GetDC(nullptr);
    int got = GetDIBits(screen, info.hbmMask, 0, 64, rows, reinterpret_cast<BITMAPINFO*>(&bmi), DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(info.hbmMask);
    ASSERT_EQ(got, 64);
    auto drawn = [&](int x, int y) {
        const unsigned char* row = reinterpret_cast<const unsigned char*>(&rows[y]);
        return (row[x >> 3] & (0x80 >> (x & 7))) == 0;
    };
    EXPECT_FALSE(drawn(0, 0));
    int first = -1, last = -1;
    for (int x = 0; x < 32; ++x)
        if (drawn(x, 0)) {
            if (first < 0) first = x;
            last = x;
        }
    EXPECT_GE(first, 3);
    EXPECT_LE(last, 8);
    EXPECT_LE(last - first, 3);
    // The hand reaches well down: a finger above a palm.
    int lowest = -1;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (drawn(x, y)) lowest = y;
    EXPECT_GE(lowest, 16);
}

// ---------------------------------------------------------------------------

TEST(Manifest, AsksForInvokerLevelWithoutUiAccessAndNothingElse) {
    Blob blob = LoadBlob(RT_MANIFEST, 1);  // CREATEPROCESS_MANIFEST_RESOURCE_ID
    ASSERT_NE(blob.data, nullptr);
    const std::string text(reinterpret_cast<const char*>(blob.data), blob.size);
    EXPECT_NE(text.find("<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"), std::string::npos)
        << text;
    EXPECT_EQ(text.find("Common-Controls"), std::string::npos);
    EXPECT_EQ(text.find("<dependency"), std::string::npos);
    EXPECT_EQ(text.find("dpiAware"), std::string::npos);
    EXPECT_EQ(text.find("<compatibility"), std::string::npos);
    EXPECT_EQ(text.find("<application"), std::string::npos);
    EXPECT_EQ(LoadBlob(RT_MANIFEST, 2).data, nullptr);
}

}  // namespace
