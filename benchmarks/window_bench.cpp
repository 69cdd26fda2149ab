// Driver of the window benchmarks (tools/bench window runs it under Wine in a
// virtual display). It starts the program as a user would, gives it real
// key strokes (SendInput) and reads the QueryPerformanceCounter stamps that
// an instrumented build writes (benchmarks/instrument.cpp). The counter is one clock
// for all processes, so the stamp taken here just before CreateProcess and
// the program's own stamp of its first paint measure the start-up.
//
//   window_bench refresh EXE WORKDIR COUNT
//       COUNT Enter refreshes in the instrumented EXE, each with a new
//       outer clearance (InIn 10 to 29); timings from inside the program.
//   window_bench startup EXE MINIMAL UPDOWN WORKDIR STARTS
//       one warm-up start of each, then STARTS rounds of one start each of
//       EXE, MINIMAL (an empty dialog) and UPDOWN (the same with comctl32
//       and one up-down control), all instrumented: process start to the
//       end of the first paint of the visible main window.
//   window_bench settings WORKDIR COUNT
//       COUNT times the eight profile writes of one refresh, timed here.
//   window_bench memory EXE MINIMAL WORKDIR COUNT
//       peak working set (GetProcessMemoryInfo through OpenProcess) of EXE
//       after its window is up and COUNT refreshes ran, and of MINIMAL once
//       its window is up.
// Paths may be Linux paths (/x/y), taken as Wine's Z:\x\y. Results go to
// standard output as "name: value" lines.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "core/number_text.h"
#include "tests/e2e/driver.h"
#include "tests/support/test_text.h"

namespace {

constexpr DWORD kTimeoutMs = 30000;
constexpr int kInputEdit = 1004;  // InIn, the outer clearance
constexpr int kFirstClearance = 10;
constexpr int kClearanceSteps = 20;
constexpr const char* kReportVariable = "RIMBEACON_INSTRUMENT_FILE";
constexpr const char* kDialogClass = "#32770";

using e2e::WindowsPath;

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kTimeoutMs)
{
    return e2e::WaitUntil(condition, timeoutMs);
}

LONGLONG Now()
{
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

LONGLONG Frequency()
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart;
}

std::string Fixed(double value, int decimals)
{
    char text[64];
    const std::size_t length = num::FormatFixed(value, decimals, text, sizeof text);
    return std::string(text, length);
}

std::string Int(long long value)
{
    char text[32];
    const std::size_t length = num::FormatInt(static_cast<std::int32_t>(value), text, sizeof text);
    return std::string(text, length);
}

void Print(const std::string& line)
{
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

bool Fail(const std::string& why)
{
    Print("error: " + why);
    return false;
}

// Whole lines "name v1 v2 ..." of an instrument report.
std::vector<std::vector<long long>> ReportLines(const std::string& text, const std::string& name)
{
    std::vector<std::vector<long long>> found;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) break;  // an unfinished line
        const std::string line = text.substr(at, end - at);
        at = end + 1;
        if (line.compare(0, name.size() + 1, name + " ") != 0) continue;
        std::vector<long long> values;
        long long value = -1;
        for (std::size_t i = name.size(); i <= line.size(); ++i) {
            const char c = i < line.size() ? line[i] : ' ';
            if (c >= '0' && c <= '9') {
                value = (value < 0 ? 0 : value * 10) + (c - '0');
            } else if (value >= 0) {
                values.push_back(value);
                value = -1;
            }
        }
        found.push_back(values);
    }
    return found;
}

struct Child {
    PROCESS_INFORMATION info{};
    LONGLONG started = 0;
    HWND window = nullptr;
};

// Starts the program in workDir with the instrument report going to
// `report` (empty: no report) and waits for its visible dialog.
bool Launch(const std::string& exe, const std::string& workDir, const std::string& report, Child* child)
{
    if (report.empty()) {
        SetEnvironmentVariableA(kReportVariable, nullptr);
    } else {
        DeleteFileA(report.c_str());
        SetEnvironmentVariableA(kReportVariable, report.c_str());
    }
    std::string line = "\"" + exe + "\"";
    std::vector<char> mutableLine(line.begin(), line.end());
    mutableLine.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    child->started = Now();
    if (!CreateProcessA(exe.c_str(), mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, workDir.c_str(),
                        &startup, &child->info)) {
        return Fail("CreateProcess failed for " + exe);
    }
    if (!WaitUntil([&] { return (child->window = e2e::FindProcessWindow(child->info.dwProcessId, kDialogClass, nullptr)) != nullptr; })) {
        return Fail("no window of " + exe);
    }
    return true;
}

void Close(Child* child)
{
    PostMessageA(child->window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(child->info.hProcess, kTimeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(child->info.hProcess, 1);
        WaitForSingleObject(child->info.hProcess, kTimeoutMs);
    }
    CloseHandle(child->info.hThread);
    CloseHandle(child->info.hProcess);
}

// The counter value of the first paint, once the report holds it.
bool FirstPaint(const std::string& report, LONGLONG* at)
{
    std::string text;
    if (!test::ReadTextFile(report, &text)) return false;
    const auto lines = ReportLines(text, "first-paint");
    if (lines.empty() || lines[0].empty()) return false;
    *at = lines[0][0];
    return true;
}

// Brings the window forward, puts the focus into the InIn edit and runs
// `count` refreshes: a new clearance into the edit, Enter, then a wait until
// the settings file holds it (the refresh ran).
bool RunRefreshes(const Child& child, const std::string& workDir, int count)
{
    SetForegroundWindow(child.window);
    if (!WaitUntil([&] { return GetForegroundWindow() == child.window; })) return Fail("window not in front");
    HWND edit = GetDlgItem(child.window, kInputEdit);
    const std::string settings = workDir + "\\Rimbeacon.ini";
    constexpr int kClickTries = 5;
    constexpr DWORD kClickWaitMs = 2000;
    bool focused = false;
    for (int i = 0; i < kClickTries && !focused; ++i) {
        e2e::ClickAt(edit, e2e::CenterOf(edit));
        focused = WaitUntil([&] { return e2e::FocusedControl(child.window) == edit; }, kClickWaitMs);
    }
    if (!focused) return Fail("no focus in the edit");
    for (int i = 0; i < count; ++i) {
        const std::string value = Int(kFirstClearance + i % kClearanceSteps);
        e2e::SetText(edit, value);
        e2e::PressKey(VK_RETURN);
        if (!WaitUntil([&] { return e2e::SettingValue(settings, "InIn") == value; })) {
            return Fail("refresh " + Int(i) + " did not store InIn=" + value);
        }
    }
    return true;
}

// Nearest-rank percentile of sorted values.
double Percentile(const std::vector<double>& sorted, double percent)
{
    std::size_t rank = static_cast<std::size_t>(std::ceil(percent / 100.0 * static_cast<double>(sorted.size())));
    rank = std::max<std::size_t>(1, std::min(rank, sorted.size()));
    return sorted[rank - 1];
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

void PrintSpread(const std::string& name, std::vector<double> micros)
{
    std::sort(micros.begin(), micros.end());
    Print(name + " median: " + Fixed(Median(micros), 1) + " us");
    Print(name + " p99: " + Fixed(Percentile(micros, 99.0), 1) + " us");
    Print(name + " min: " + Fixed(micros.front(), 1) + " us, max: " + Fixed(micros.back(), 1) + " us");
}

// The parts of a refresh as an instrumented build reports them after the
// whole refresh, the background and the overlay (common/timing.h).
constexpr int kFirstPartValue = 3;
constexpr int kRefreshParts = 7;
constexpr std::size_t kSampleValues = kFirstPartValue + kRefreshParts;
constexpr const char* kPartNames[kRefreshParts] = {
    "target offset read (GetWindowTextA of 1006)",
    "first ReadFields: 5 GetWindowTextA and validity",
    "first ReadFields: settings writes (4 WritePrivateProfileStringA)",
    "ComputeOffset and SetWindowTextA of 1006",
    "second ReadFields: 5 GetWindowTextA and validity",
    "second ReadFields: settings writes (4 WritePrivateProfileStringA)",
    "RequestRepaint: 2 InvalidateRect and the sent WM_PAINT",
};

// What one of the instrumented build's stamps costs here: a refresh takes
// twelve (its start and end, seven parts, three in the paint).
void PrintStampCost()
{
    constexpr int kStamps = 100000;
    const LONGLONG start = Now();
    LONGLONG last = 0;
    for (int i = 0; i < kStamps; ++i) last = Now();
    const double perStamp = static_cast<double>(last - start) * 1e9 / static_cast<double>(Frequency()) / kStamps;
    Print("one QueryPerformanceCounter stamp: " + Fixed(perStamp, 1) + " ns");
}

int RefreshBench(const std::string& exe, const std::string& workDir, int count)
{
    const std::string report = workDir + "\\instrument-refresh.txt";
    Child child;
    if (!Launch(exe, workDir, report, &child)) return 1;
    LONGLONG painted = 0;
    if (!WaitUntil([&] { return FirstPaint(report, &painted); })) return Fail("no first paint reported"), 1;
    const bool ran = RunRefreshes(child, workDir, count);
    Close(&child);
    if (!ran) return 1;

    std::string text;
    test::ReadTextFile(report, &text);
    const auto frequency = ReportLines(text, "frequency");
    const auto samples = ReportLines(text, "refresh");
    if (frequency.empty() || samples.size() != static_cast<std::size_t>(count)) {
        return Fail("report holds " + Int(static_cast<long long>(samples.size())) + " refreshes, expected " +
                    Int(count)),
               1;
    }
    const double perMicro = static_cast<double>(frequency[0][0]) / 1e6;
    std::vector<double> refresh, background, overlay, paint, named, covered;
    std::vector<std::vector<double>> parts(kRefreshParts);
    for (const auto& s : samples) {
        if (s.size() != kSampleValues) return Fail("a refresh line without its " + Int(kRefreshParts) + " parts"), 1;
        refresh.push_back(static_cast<double>(s[0]) / perMicro);
        background.push_back(static_cast<double>(s[1]) / perMicro);
        overlay.push_back(static_cast<double>(s[2]) / perMicro);
        paint.push_back(static_cast<double>(s[1] + s[2]) / perMicro);
        long long sum = 0;
        for (int i = 0; i < kRefreshParts; ++i) {
            parts[i].push_back(static_cast<double>(s[kFirstPartValue + i]) / perMicro);
            sum += s[kFirstPartValue + i];
        }
        named.push_back(static_cast<double>(sum) / perMicro);
        covered.push_back(s[0] > 0 ? 100.0 * static_cast<double>(sum) / static_cast<double>(s[0]) : 0.0);
    }
    Print("refreshes: " + Int(count));
    PrintSpread("refresh", refresh);
    PrintSpread("paint", paint);
    PrintSpread("background paint", background);
    PrintSpread("overlay", overlay);
    const double bare = Median(background);
    Print("paint / background paint (medians): " + Fixed(Median(paint) / bare, 2));
    Print("refresh / background paint (medians): " + Fixed(Median(refresh) / bare, 2));
    Print("breakdown of the refresh (median, p99 of each part):");
    for (int i = 0; i < kRefreshParts; ++i) {
        std::vector<double> sorted = parts[i];
        std::sort(sorted.begin(), sorted.end());
        Print(std::string("  ") + kPartNames[i] + ": " + Fixed(Median(sorted), 1) + " us, p99 " +
              Fixed(Percentile(sorted, 99.0), 1) + " us");
    }
    std::vector<double> sortedCovered = covered;
    std::sort(sortedCovered.begin(), sortedCovered.end());
    Print("named parts together median: " + Fixed(Median(named), 1) + " us");
    Print("named parts / refresh: median " + Fixed(Median(sortedCovered), 1) + " %, lowest " +
          Fixed(sortedCovered.front(), 1) + " %");
    PrintStampCost();
    return 0;
}

// The steps of a start, from CreateProcess to the end of the first paint,
// as far as the program stamps them (common/timing.h, "start-steps").
constexpr int kStartPhases = 5;
constexpr const char* kStartPhaseNames[kStartPhases] = {
    "process start to WinMain (Wine, loader, imported DLLs)",
    "WinMain to the common controls registered (settings read, InitCommonControlsEx)",
    "to WM_INITDIALOG (dialog and its controls created)",
    "WM_INITDIALOG",
    "to the end of the first paint",
};

struct StartTimes {
    double Total = 0;                  // ms
    double Phases[kStartPhases] = {};  // ms; 0 for a step the program has not
};

bool StartSteps(const std::string& report, std::vector<long long>* steps)
{
    std::string text;
    if (!test::ReadTextFile(report, &text)) return false;
    const auto lines = ReportLines(text, "start-steps");
    if (lines.empty() || lines[0].size() != kStartPhases - 1) return false;
    *steps = lines[0];
    return true;
}

// One start: milliseconds from CreateProcess to the end of the first paint,
// and the steps in between.
bool TimedStart(const std::string& exe, const std::string& workDir, const std::string& report, StartTimes* times)
{
    Child child;
    if (!Launch(exe, workDir, report, &child)) return false;
    LONGLONG painted = 0;
    const bool reported = WaitUntil([&] { return FirstPaint(report, &painted); });
    Close(&child);
    if (!reported) return Fail("no first paint reported by " + exe);
    std::vector<long long> steps;
    if (!StartSteps(report, &steps)) return Fail("no start steps reported by " + exe);
    const double perMs = static_cast<double>(Frequency()) / 1000.0;
    *times = StartTimes{};
    times->Total = static_cast<double>(painted - child.started) / perMs;
    steps.push_back(painted);
    long long previous = child.started;
    for (int i = 0; i < kStartPhases; ++i) {
        if (steps[i] == 0) continue;  // a step this program has not
        times->Phases[i] = static_cast<double>(steps[i] - previous) / perMs;
        previous = steps[i];
    }
    return true;
}

void PrintStarts(const std::string& name, const std::vector<StartTimes>& starts)
{
    std::vector<double> ms;
    for (const StartTimes& start : starts) ms.push_back(start.Total);
    std::sort(ms.begin(), ms.end());
    Print(name + " start median: " + Fixed(Median(ms), 1) + " ms (min " + Fixed(ms.front(), 1) + ", max " +
          Fixed(ms.back(), 1) + ")");
}

void PrintStartSteps(const std::string& name, const std::vector<StartTimes>& starts)
{
    Print(name + ", steps of the start (medians):");
    for (int i = 0; i < kStartPhases; ++i) {
        std::vector<double> ms;
        for (const StartTimes& start : starts) ms.push_back(start.Phases[i]);
        Print(std::string("  ") + kStartPhaseNames[i] + ": " + Fixed(Median(ms), 1) + " ms");
    }
}

double MedianStart(const std::vector<StartTimes>& starts)
{
    std::vector<double> ms;
    for (const StartTimes& start : starts) ms.push_back(start.Total);
    return Median(ms);
}

int StartupBench(const std::string& exe, const std::string& minimal, const std::string& updown,
                 const std::string& workDir, int starts)
{
    const std::string report = workDir + "\\instrument-start.txt";
    StartTimes times;
    // Warm-up: the first start of each loads files that later ones find cached.
    if (!TimedStart(exe, workDir, report, &times) || !TimedStart(minimal, workDir, report, &times) ||
        !TimedStart(updown, workDir, report, &times)) {
        return 1;
    }
    std::vector<StartTimes> program, floor, comctl;
    for (int i = 0; i < starts; ++i) {
        if (!TimedStart(exe, workDir, report, &times)) return 1;
        program.push_back(times);
        if (!TimedStart(minimal, workDir, report, &times)) return 1;
        floor.push_back(times);
        if (!TimedStart(updown, workDir, report, &times)) return 1;
        comctl.push_back(times);
    }
    Print("starts: " + Int(starts) + " of each, alternating, after one warm-up start of each");
    PrintStarts("Rimbeacon", program);
    PrintStarts("minimal dialog", floor);
    PrintStarts("comctl32 dialog", comctl);
    Print("Rimbeacon / minimal dialog (medians): " + Fixed(MedianStart(program) / MedianStart(floor), 2));
    Print("Rimbeacon / comctl32 dialog (medians): " + Fixed(MedianStart(program) / MedianStart(comctl), 2));
    Print("comctl32 dialog / minimal dialog (medians): " + Fixed(MedianStart(comctl) / MedianStart(floor), 2));
    PrintStartSteps("Rimbeacon", program);
    PrintStartSteps("minimal dialog", floor);
    PrintStartSteps("comctl32 dialog", comctl);
    return 0;
}

bool PeakWorkingSet(DWORD pid, SIZE_T* peak)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (process == nullptr) return Fail("OpenProcess failed");
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    const BOOL got = GetProcessMemoryInfo(process, &counters, sizeof counters);
    CloseHandle(process);
    if (!got) return Fail("GetProcessMemoryInfo failed");
    *peak = counters.PeakWorkingSetSize;
    return true;
}

int MemoryBench(const std::string& exe, const std::string& minimal, const std::string& workDir, int count)
{
    Child child;
    if (!Launch(exe, workDir, std::string(), &child)) return 1;
    SIZE_T programPeak = 0;
    const bool ran = RunRefreshes(child, workDir, count) && PeakWorkingSet(child.info.dwProcessId, &programPeak);
    Close(&child);
    if (!ran) return 1;

    Child floor;
    if (!Launch(minimal, workDir, std::string(), &floor)) return 1;
    SIZE_T floorPeak = 0;
    const bool measured = PeakWorkingSet(floor.info.dwProcessId, &floorPeak);
    Close(&floor);
    if (!measured) return 1;
    Print("Rimbeacon peak working set after " + Int(count) + " refreshes: " +
          Int(static_cast<long long>(programPeak / 1024)) + " KiB");
    Print("minimal dialog peak working set: " + Int(static_cast<long long>(floorPeak / 1024)) + " KiB");
    return 0;
}

// What a refresh spends on the settings file, outside the program: the four
// inputs written twice (one SaveInputs per ReadFields) with the profile
// functions, in a directory of its own.
int SettingsBench(const std::string& workDir, int count)
{
    const std::string file = workDir + "\\Rimbeacon.ini";
    const char* keys[] = {"InRim", "InOffset", "InIn", "OutRim"};
    const char* values[] = {"6.5", "45", "20", "7"};
    std::vector<double> micros;
    const double perMicro = static_cast<double>(Frequency()) / 1e6;
    for (int i = 0; i < count; ++i) {
        const std::string clearance = Int(kFirstClearance + i % kClearanceSteps);
        values[2] = clearance.c_str();
        const LONGLONG start = Now();
        for (int pass = 0; pass < 2; ++pass) {
            for (int k = 0; k < 4; ++k) WritePrivateProfileStringA("Rimbeacon", keys[k], values[k], file.c_str());
        }
        micros.push_back(static_cast<double>(Now() - start) / perMicro);
    }
    Print("settings writes: " + Int(count) + " times the 8 writes of one refresh");
    PrintSpread("8 settings writes", micros);
    return 0;
}

int Number(const char* text)
{
    int value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) value = value * 10 + (*text - '0');
    return value;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "refresh" && argc == 5) {
        return RefreshBench(WindowsPath(argv[2]), WindowsPath(argv[3]), Number(argv[4]));
    }
    if (mode == "startup" && argc == 7) {
        return StartupBench(WindowsPath(argv[2]), WindowsPath(argv[3]), WindowsPath(argv[4]), WindowsPath(argv[5]),
                            Number(argv[6]));
    }
    if (mode == "memory" && argc == 6) {
        return MemoryBench(WindowsPath(argv[2]), WindowsPath(argv[3]), WindowsPath(argv[4]), Number(argv[5]));
    }
    if (mode == "settings" && argc == 4) {
        return SettingsBench(WindowsPath(argv[2]), Number(argv[3]));
    }
    std::fputs("usage: window_bench refresh EXE WORKDIR COUNT\n"
               "       window_bench settings WORKDIR COUNT\n"
               "       window_bench startup EXE MINIMAL UPDOWN WORKDIR STARTS\n"
               "       window_bench memory EXE MINIMAL WORKDIR COUNT\n",
               stderr);
    return 2;
}
