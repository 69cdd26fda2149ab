// Timing hooks of the window benchmarks: the moments a refresh, a paint and
// the start pass through. Only a build configured with
// -DRIMBEACON_INSTRUMENT=ON has them, and links their implementation
// (benchmarks/instrument.cpp, which says what it records and where); in
// every other build each hook compiles to nothing.
#pragma once

#ifdef RIMBEACON_INSTRUMENT

#include <windows.h>

namespace timing {

enum Mark {
    // The start, in the order it runs.
    kWinMainEntered,
    kControlsRegistered,
    kDialogInitBegun,
    kDialogInitDone,
    // An Enter refresh and its parts, in the order they run; ReadFields
    // passes its two marks twice.
    kRefreshBegin,
    kTargetRead,
    kFieldReadsDone,
    kSettingsWritesDone,
    kOffsetComputed,
    kRepaintDone,
    kRefreshEnd,
    // A paint: its start, and the end of the background picture's part.
    kPaintBegin,
    kBackgroundDone,
};

void Record(Mark mark);
void PaintEnd(HWND window);
void Report();

}  // namespace timing

#define TIMING_MARK(mark) timing::Record(timing::mark)
#define TIMING_PAINT_END(window) timing::PaintEnd(window)
#define TIMING_REPORT() timing::Report()

#else

#define TIMING_MARK(mark) ((void)0)
#define TIMING_PAINT_END(window) ((void)(window))
#define TIMING_REPORT() ((void)0)

#endif
