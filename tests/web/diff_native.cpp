// The native half of the differential check (diff.js): reads input records,
// one a line, each twelve texts in hexadecimal ("-" for an empty one) (the
// five wheel fields, the spacer, the bulge, the new and the current tyre,
// the vehicle's date of make, the axle load and the inner clearance), the
// vehicle (0
// passenger, 1 other) and where the target offset's and the reference
// offset's spinners stand, makes the calls of the core's WebAssembly interface
// built natively, and writes their JSON results, tab-separated, one line a
// record. diff.js makes the same calls through the WebAssembly module and
// compares the results.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "web/wasm/rimbeacon_api.h"

namespace {

constexpr int kWheelFields = 5;
constexpr int kTexts = 12;  // and the spacer, the bulge, the tyres, the date, the axle, the inner clearance
constexpr int kWords = kTexts + 3;  // and the vehicle and two positions
constexpr std::size_t kFieldBytes = 256;
constexpr int kUp = 1;
constexpr int kDown = -1;

int HexValue(char c) {
    return c <= '9' ? c - '0' : c - 'a' + 10;
}

// Decodes one hexadecimal word into slot `slot` (cut to 255 bytes, NUL-ended).
void SetSlot(int slot, const std::string& word) {
    char* out = rb_input(slot);
    std::size_t n = 0;
    if (word != "-") {
        for (std::size_t k = 0; k + 1 < word.size() && n < kFieldBytes - 1; k += 2) {
            out[n++] = static_cast<char>(HexValue(word[k]) * 16 + HexValue(word[k + 1]));
        }
    }
    out[n] = '\0';
}

}  // namespace

int main() {
    char line[8192];
    while (std::fgets(line, sizeof line, stdin) != nullptr) {
        std::string words[kWords];
        int count = 0;
        for (char* word = std::strtok(line, " \n"); word != nullptr && count < kWords;
             word = std::strtok(nullptr, " \n")) {
            words[count++] = word;
        }
        for (int i = count; i < kWords; ++i) words[i] = i < kTexts ? "-" : "0";
        const int targetPosition = std::atoi(words[kTexts + 1].c_str());
        const int offsetPosition = std::atoi(words[kTexts + 2].c_str());
        std::string out;
        const auto add = [&out](const char* json) {
            if (!out.empty()) out += '\t';
            out += json;
        };
        for (int i = 0; i < kWheelFields; ++i) {
            SetSlot(kSlotOverride, words[i]);
            add(rb_read(kSlotOverride));
        }
        for (int i = 0; i < kWheelFields; ++i) SetSlot(i, words[i]);
        const int kSlotsAfterWheels[] = {kSlotSpacer, kSlotBulge, kSlotTyre, kSlotRefTyre, kSlotMade, kSlotAxle,
                                         kSlotInnerClear};
        for (int k = 0; k < kTexts - kWheelFields; ++k) SetSlot(kSlotsAfterWheels[k], words[kWheelFields + k]);
        std::strcpy(rb_input(kSlotVehicle), words[kTexts] == "1" ? "other" : "passenger");
        SetSlot(kSlotOverride, "-");
        add(rb_refresh());
        SetSlot(kSlotOverride, words[kSlotOutOffset]);
        add(rb_refresh());
        for (int field : {kSlotInRim, kSlotOutRim}) {
            for (int delta : {kUp, kDown}) {
                SetSlot(field, words[field]);
                add(rb_step(field, delta, 0));
            }
        }
        SetSlot(kSlotOutOffset, words[kSlotOutOffset]);
        add(rb_step(kSlotOutOffset, kUp, targetPosition));
        SetSlot(kSlotInOffset, words[kSlotInOffset]);
        add(rb_step(kSlotInOffset, kDown, offsetPosition));
        std::printf("%s\n", out.c_str());
    }
    return 0;
}
