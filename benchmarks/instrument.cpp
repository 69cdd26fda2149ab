// The timing hooks (common/timing.h) of an instrumented build, for the
// window benchmarks (benchmarks/window_bench.cpp reads what they write).
//
// The program takes QueryPerformanceCounter stamps (one clock for all
// processes, so the benchmark driver can compare them with its own) and
// writes them as text lines to the file named by the environment variable
// RIMBEACON_INSTRUMENT_FILE (no variable: nothing is written):
//   frequency F                     counts per second
//   first-paint T                   end of the first paint of the visible
//                                   main window, written at once
//   start-steps E C I D             written with it: the stamps of the
//                                   start's steps, 0 for a step the
//                                   program has not: WinMain entered, common
//                                   controls registered, WM_INITDIALOG
//                                   begun and done
//   refresh R B O T F1 W1 C F2 W2 P one per Enter refresh, written at exit,
//                                   in counts: the whole refresh, the
//                                   background part of its paint (BeginPaint
//                                   to EndPaint) and the overlay part; then
//                                   its parts in the order they run:
//                                   T  reading the target offset edit
//                                   F1 first ReadFields: its five reads of
//                                      the edits and the validity
//                                   W1 first ReadFields: its settings writes
//                                   C  ComputeOffset and the target offset
//                                      edit's SetWindowTextA
//                                   F2, W2 the second ReadFields likewise
//                                   P  RequestRepaint with its paint
// Each part runs from the end of the one before (T from the start of the
// refresh), so the parts and the rest of the refresh add up to the whole.
// Marks of a part outside a timed refresh (the start, the link label, the
// spinners) are not kept.
#include "common/timing.h"

#include <string>
#include <vector>

namespace timing {
namespace {

constexpr std::size_t kMaxRefreshes = 4096;  // more are timed but not kept
constexpr const char* kReportVariable = "RIMBEACON_INSTRUMENT_FILE";

enum RefreshPart {
    kTargetReadPart,
    kFirstFieldReads,
    kFirstSettingsWrites,
    kOffsetComputedPart,
    kSecondFieldReads,
    kSecondSettingsWrites,
    kRepaintPart,
    kRefreshPartCount
};

enum StartStep { kStepWinMain, kStepControls, kStepInitBegun, kStepInitDone, kStartStepCount };

struct RefreshSample {
    LONGLONG Refresh;
    LONGLONG Background;
    LONGLONG Overlay;
    LONGLONG Parts[kRefreshPartCount];
};

std::vector<RefreshSample> Samples;
RefreshSample Current;
LONGLONG RefreshStart;
bool RefreshRunning;
LONGLONG PartStart;       // end of the part before
bool FirstReadPassDone;   // ReadFields' first pass of this refresh is over
LONGLONG PaintStart;
LONGLONG BackgroundEnd;
bool FirstPaintReported;
LONGLONG StartSteps[kStartStepCount];

LONGLONG Now() {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

void Append(const std::string& text) {
    char path[MAX_PATH];
    const DWORD found = GetEnvironmentVariableA(kReportVariable, path, MAX_PATH);
    if (found == 0 || found >= MAX_PATH) return;
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

void PartDone(RefreshPart part) {
    if (!RefreshRunning) return;
    const LONGLONG now = Now();
    Current.Parts[part] += now - PartStart;
    PartStart = now;
}

void StepDone(StartStep step) {
    if (StartSteps[step] == 0) StartSteps[step] = Now();
}

}  // namespace

void Record(Mark mark) {
    switch (mark) {
    case kWinMainEntered: StepDone(kStepWinMain); break;
    case kControlsRegistered: StepDone(kStepControls); break;
    case kDialogInitBegun: StepDone(kStepInitBegun); break;
    case kDialogInitDone: StepDone(kStepInitDone); break;
    case kRefreshBegin:
        Current = RefreshSample{};
        FirstReadPassDone = false;
        RefreshRunning = true;
        RefreshStart = PartStart = Now();
        break;
    case kTargetRead: PartDone(kTargetReadPart); break;
    case kFieldReadsDone: PartDone(FirstReadPassDone ? kSecondFieldReads : kFirstFieldReads); break;
    case kSettingsWritesDone:
        PartDone(FirstReadPassDone ? kSecondSettingsWrites : kFirstSettingsWrites);
        FirstReadPassDone = true;
        break;
    case kOffsetComputed: PartDone(kOffsetComputedPart); break;
    case kRepaintDone: PartDone(kRepaintPart); break;
    case kRefreshEnd:
        Current.Refresh = Now() - RefreshStart;
        RefreshRunning = false;
        if (Samples.size() < kMaxRefreshes) Samples.push_back(Current);
        break;
    case kPaintBegin: PaintStart = BackgroundEnd = Now(); break;
    case kBackgroundDone: BackgroundEnd = Now(); break;
    }
}

void PaintEnd(HWND window) {
    const LONGLONG end = Now();
    Current.Background = BackgroundEnd - PaintStart;
    Current.Overlay = end - BackgroundEnd;
    if (FirstPaintReported || !IsWindowVisible(window)) return;
    FirstPaintReported = true;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::string lines = "frequency " + std::to_string(frequency.QuadPart) + "\nfirst-paint " + std::to_string(end) +
                        "\nstart-steps";
    for (LONGLONG step : StartSteps) lines += " " + std::to_string(step);
    Append(lines + "\n");
}

void Report() {
    std::string text;
    for (const RefreshSample& sample : Samples) {
        text += "refresh " + std::to_string(sample.Refresh) + " " + std::to_string(sample.Background) + " " +
                std::to_string(sample.Overlay);
        for (LONGLONG part : sample.Parts) text += " " + std::to_string(part);
        text += "\n";
    }
    Append(text);
}

}  // namespace timing
