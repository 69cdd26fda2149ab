// Timing hooks for the window benchmarks (tools/bench-window). Only a build
// configured with -DRIMBEACON_INSTRUMENT=ON has them; in every other build
// each hook is an empty statement and nothing of this is compiled in.
//
// The instrumented program takes QueryPerformanceCounter stamps (one clock
// for all processes, so a benchmark driver can compare them with its own)
// and writes them as text lines to the file named by the environment
// variable RIMBEACON_INSTRUMENT_FILE (no variable: nothing is written):
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
#pragma once

#ifdef RIMBEACON_INSTRUMENT

#include <windows.h>

namespace instrument {

constexpr int kMaxRefreshes = 4096;  // more are timed but not kept

// The parts of one refresh, in the order they run.
enum RefreshPart {
    kTargetRead,
    kFirstFieldReads,
    kFirstSettingsWrites,
    kOffsetComputed,
    kSecondFieldReads,
    kSecondSettingsWrites,
    kRepaint,
    kRefreshPartCount
};

struct RefreshSample {
    LONGLONG Refresh;
    LONGLONG Background;
    LONGLONG Overlay;
    LONGLONG Parts[kRefreshPartCount];
};

inline RefreshSample* Refreshes;  // allocated at the first refresh
inline int RefreshCount;
inline LONGLONG RefreshStart;
inline int RefreshRunning;        // between RefreshBegin and RefreshEnd
inline LONGLONG PartStart;        // end of the part before
inline LONGLONG LastParts[kRefreshPartCount];
inline int FieldReadPass;         // ReadFields calls finished in this refresh
inline LONGLONG PaintStart;
inline LONGLONG BackgroundEnd;
inline LONGLONG LastBackground;
inline LONGLONG LastOverlay;
inline int FirstPaintDone;

inline LONGLONG Now()
{
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

// Steps of the start, in the order they run.
enum StartStep { kWinMainEntered, kControlsRegistered, kDialogInitBegun, kDialogInitDone, kStartStepCount };

inline LONGLONG StartSteps[kStartStepCount];

inline void StartStepDone(StartStep step)
{
    if (StartSteps[step] == 0) StartSteps[step] = Now();
}

// Appends "<name> <value>" lines; values are non-negative counts.
inline void AppendLine(char* line, int& length, const char* name, LONGLONG value)
{
    while (*name != '\0') line[length++] = *name++;
    line[length++] = ' ';
    char digits[24];
    int count = 0;
    unsigned long long rest = value < 0 ? 0 : static_cast<unsigned long long>(value);
    do {
        digits[count++] = static_cast<char>('0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    while (count > 0) line[length++] = digits[--count];
}

inline void AppendToReport(const char* text, DWORD length)
{
    char path[MAX_PATH];
    const DWORD found = GetEnvironmentVariableA("RIMBEACON_INSTRUMENT_FILE", path, MAX_PATH);
    if (found == 0 || found >= MAX_PATH) return;
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, text, length, &written, nullptr);
    CloseHandle(file);
}

inline void RefreshBegin()
{
    if (Refreshes == nullptr) {
        Refreshes = static_cast<RefreshSample*>(
            HeapAlloc(GetProcessHeap(), 0, kMaxRefreshes * sizeof(RefreshSample)));
    }
    LastBackground = 0;
    LastOverlay = 0;
    for (LONGLONG& part : LastParts) part = 0;
    FieldReadPass = 0;
    RefreshRunning = 1;
    RefreshStart = PartStart = Now();
}

inline void RefreshEnd()
{
    const LONGLONG elapsed = Now() - RefreshStart;
    RefreshRunning = 0;
    if (Refreshes != nullptr && RefreshCount < kMaxRefreshes) {
        RefreshSample& sample = Refreshes[RefreshCount++];
        sample.Refresh = elapsed;
        sample.Background = LastBackground;
        sample.Overlay = LastOverlay;
        for (int i = 0; i < kRefreshPartCount; ++i) sample.Parts[i] = LastParts[i];
    }
}

// Ends a part of the refresh that is running; outside a timed refresh (the
// dialog's start, the link label, the spinners) it does nothing.
inline void PartDone(RefreshPart part)
{
    if (RefreshRunning == 0) return;
    const LONGLONG now = Now();
    LastParts[part] += now - PartStart;
    PartStart = now;
}

// ReadFields runs twice in a refresh; its parts go to the pass they belong to.
inline void FieldReadsDone()
{
    PartDone(FieldReadPass == 0 ? kFirstFieldReads : kSecondFieldReads);
}

inline void SettingsWritesDone()
{
    PartDone(FieldReadPass == 0 ? kFirstSettingsWrites : kSecondSettingsWrites);
    ++FieldReadPass;
}

inline void PaintBegin() { PaintStart = BackgroundEnd = Now(); }

inline void BackgroundDone() { BackgroundEnd = Now(); }

inline void PaintEnd(HWND window)
{
    const LONGLONG end = Now();
    LastBackground = BackgroundEnd - PaintStart;
    LastOverlay = end - BackgroundEnd;
    if (FirstPaintDone == 0 && IsWindowVisible(window)) {
        FirstPaintDone = 1;
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        char line[256];  // three lines, seven counts of at most 20 digits
        int length = 0;
        AppendLine(line, length, "frequency", frequency.QuadPart);
        line[length++] = '\n';
        AppendLine(line, length, "first-paint", end);
        line[length++] = '\n';
        AppendLine(line, length, "start-steps", StartSteps[0]);
        for (int i = 1; i < kStartStepCount; ++i) AppendLine(line, length, "", StartSteps[i]);
        line[length++] = '\n';
        AppendToReport(line, static_cast<DWORD>(length));
    }
}

// At exit: every kept refresh, one line each, in one write.
inline void WriteRefreshes()
{
    constexpr int kLineSize = 256;  // "refresh" and ten counts of at most 20 digits, blanks, line end
    char* text = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, RefreshCount * kLineSize + 1));
    if (text == nullptr) return;
    int length = 0;
    for (int i = 0; i < RefreshCount; ++i) {
        AppendLine(text, length, "refresh", Refreshes[i].Refresh);
        AppendLine(text, length, "", Refreshes[i].Background);
        AppendLine(text, length, "", Refreshes[i].Overlay);
        for (LONGLONG part : Refreshes[i].Parts) AppendLine(text, length, "", part);
        text[length++] = '\n';
    }
    AppendToReport(text, static_cast<DWORD>(length));
    HeapFree(GetProcessHeap(), 0, text);
}

}  // namespace instrument

#define INSTRUMENT_REFRESH_BEGIN() instrument::RefreshBegin()
#define INSTRUMENT_REFRESH_END() instrument::RefreshEnd()
#define INSTRUMENT_PAINT_BEGIN() instrument::PaintBegin()
#define INSTRUMENT_BACKGROUND_DONE() instrument::BackgroundDone()
#define INSTRUMENT_PAINT_END(window) instrument::PaintEnd(window)
#define INSTRUMENT_WRITE_REFRESHES() instrument::WriteRefreshes()
#define INSTRUMENT_START_STEP(step) instrument::StartStepDone(instrument::step)
#define INSTRUMENT_TARGET_READ() instrument::PartDone(instrument::kTargetRead)
#define INSTRUMENT_FIELD_READS_DONE() instrument::FieldReadsDone()
#define INSTRUMENT_SETTINGS_WRITES_DONE() instrument::SettingsWritesDone()
#define INSTRUMENT_OFFSET_COMPUTED() instrument::PartDone(instrument::kOffsetComputed)
#define INSTRUMENT_REPAINT_DONE() instrument::PartDone(instrument::kRepaint)

#else

#define INSTRUMENT_REFRESH_BEGIN() ((void)0)
#define INSTRUMENT_REFRESH_END() ((void)0)
#define INSTRUMENT_PAINT_BEGIN() ((void)0)
#define INSTRUMENT_BACKGROUND_DONE() ((void)0)
#define INSTRUMENT_PAINT_END(window) ((void)(window))
#define INSTRUMENT_WRITE_REFRESHES() ((void)0)
#define INSTRUMENT_START_STEP(step) ((void)0)
#define INSTRUMENT_TARGET_READ() ((void)0)
#define INSTRUMENT_FIELD_READS_DONE() ((void)0)
#define INSTRUMENT_SETTINGS_WRITES_DONE() ((void)0)
#define INSTRUMENT_OFFSET_COMPUTED() ((void)0)
#define INSTRUMENT_REPAINT_DONE() ((void)0)

#endif
