// Waits until Rimbeacon's main window, started by something else in the
// same Wine prefix and display, is shown, painted and settled: its client
// area shows the background picture (well over kPaintedColours colours; a
// window that is mapped but not yet drawn has one or two) and has stopped
// changing (e2e::StableClient). tools/lib/screenshot-window takes its
// picture then; the first start of a fresh prefix maps the window well
// before it is drawn.
//   wait_settled.exe [SECONDS]     (default 240)
// Exits 0 once settled, 1 with a line on standard error on time-out.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <set>

#include "tests/e2e/driver.h"

namespace {

constexpr int kPaintedColours = 32;
constexpr DWORD kDefaultSeconds = 240;
constexpr DWORD kMsPerSecond = 1000;

int Colours(const e2e::Capture& capture) {
    std::set<std::string> seen;
    for (int y = 0; y < capture.Height(); ++y) {
        for (int x = 0; x < capture.Width(); ++x) seen.insert(e2e::ToString(capture.At(x, y)));
    }
    return static_cast<int>(seen.size());
}

}  // namespace

int main(int argc, char** argv) {
    const DWORD seconds = argc > 1 ? static_cast<DWORD>(std::strtoul(argv[1], nullptr, 10)) : kDefaultSeconds;
    const DWORD timeoutMs = seconds * kMsPerSecond;
    HWND window = nullptr;
    const bool settled = e2e::WaitUntil([&] {
        window = e2e::FindProcessWindow(0, "#32770", "Rimbeacon");
        if (window == nullptr) return false;
        const e2e::Capture shown = e2e::StableClient(window);
        return Colours(shown) >= kPaintedColours && e2e::Capture::Client(window) == shown;
    }, timeoutMs);
    if (!settled) {
        std::fprintf(stderr, "wait_settled: %s within %lu s\n",
                     window == nullptr ? "no Rimbeacon window" : "the window was not painted steadily",
                     static_cast<unsigned long>(seconds));
        return 1;
    }
    return 0;
}
