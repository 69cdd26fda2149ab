// The native half of the differential check (diff.js): reads input records,
// one a line, each seven field texts in hexadecimal ("-" for an empty one)
// and the vehicle (0 passenger, 1 other),
// runs them through the core's WebAssembly interface built natively, and
// writes one line of results a record. diff.js does the same through the
// WebAssembly module and compares the lines. The order of the calls and the
// format of the results are the same on both sides.
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <string>

#include "web/wasm/rimbeacon_api.h"

namespace {

constexpr int kWheelFields = 5;
constexpr int kFields = 7;  // and the spacer and the bulge
constexpr int kCheckTexts = 4;
constexpr int kAnswers = 2;
constexpr std::size_t kFieldBytes = 256;

std::string Hex(const char* text) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
        out += digits[*p >> 4];
        out += digits[*p & 15];
    }
    return out.empty() ? "-" : out;
}

std::string Bits(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    char text[24];
    std::snprintf(text, sizeof text, "%016" PRIx64, bits);
    return text;
}

int HexValue(char c) {
    return c <= '9' ? c - '0' : c - 'a' + 10;
}

// Decodes one hexadecimal word into `out` (cut to 255 bytes, NUL-ended).
void Unhex(const std::string& word, char* out) {
    std::size_t n = 0;
    if (word != "-") {
        for (std::size_t k = 0; k + 1 < word.size() && n < kFieldBytes - 1; k += 2) {
            out[n++] = static_cast<char>(HexValue(word[k]) * 16 + HexValue(word[k + 1]));
        }
    }
    out[n] = '\0';
}

void SetScratch(const char* text) {
    std::strncpy(rb_scratch(), text, kFieldBytes - 1);
    rb_scratch()[kFieldBytes - 1] = '\0';
}

std::string Drawn() {
    rb_draw();
    std::string out;
    for (int k = 0; k < 4; ++k) out += " " + std::to_string(rb_column(k));
    for (int k = 0; k < 3; ++k) out += " " + Hex(rb_difference(k));
    return out;
}

}  // namespace

int main() {
    char line[8192];
    while (std::fgets(line, sizeof line, stdin) != nullptr) {
        std::string words[kFields + 1];
        int count = 0;
        for (char* word = std::strtok(line, " \n"); word != nullptr && count < kFields + 1;
             word = std::strtok(nullptr, " \n")) {
            words[count++] = word;
        }
        char texts[kFields][kFieldBytes];
        for (int i = 0; i < kFields; ++i) Unhex(i < count ? words[i] : "-", texts[i]);
        const int vehicle = count > kFields && words[kFields] == "1" ? kVehicleOther : kVehiclePassenger;

        std::string out;
        for (int i = 0; i < kWheelFields; ++i) {
            SetScratch(texts[i]);
            out += Bits(rb_read_number()) + " " + std::to_string(rb_number_valid()) + " ";
        }
        for (int i = 0; i < kFields; ++i) std::strcpy(rb_field(i), texts[i]);
        out += std::to_string(rb_validity());
        rb_compute_offset(0);
        out += " " + Hex(rb_field(4)) + " " + Bits(rb_optimal_offset()) + " " + std::to_string(rb_validity());
        out += Drawn();
        SetScratch(texts[4]);
        rb_compute_offset(1);
        out += " " + Hex(rb_field(4)) + Drawn();
        for (int field : {0, 3}) {
            for (int delta : {1, -1}) {
                std::strcpy(rb_field(field), texts[field]);
                rb_step_width(field, delta);
                out += " " + Hex(rb_field(field));
            }
        }
        for (int field : {4, 1}) {
            std::strcpy(rb_field(field), texts[field]);
            const int wrote = rb_step_integer(field, field == 4 ? 1 : -1);
            out += " " + std::to_string(wrote) + " " + Hex(rb_field(field));
        }
        for (int i = 0; i < kWheelFields; ++i) std::strcpy(rb_field(i), texts[i]);
        static const char* const kVerdicts[] = {"-", "wheel-out", "tyre-out", "tyre-tolerated", "ok"};
        out += std::string(" ") + kVerdicts[rb_check(vehicle)];
        for (int k = 0; k < kCheckTexts; ++k) out += " " + Hex(rb_check_text(k));
        for (int k = 0; k < kAnswers; ++k) out += " " + Hex(rb_answer(k));
        std::printf("%s\n", out.c_str());
    }
    return 0;
}
