// Small helpers shared by the fuzz targets. A broken property aborts with a
// message, so libFuzzer keeps the input as a crash artifact.
#pragma once

#include "tests/support/test_text.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#define FUZZ_CHECK(cond, what)                                                      \
    do {                                                                            \
        if (!(cond)) {                                                              \
            std::fprintf(stderr, "property broken: %s (%s) at %s:%d\n", (what),     \
                         #cond, __FILE__, __LINE__);                                \
            std::abort();                                                           \
        }                                                                           \
    } while (0)

namespace fuzz {

constexpr unsigned char kGuard = 0xA5;

using test::Bits;
using test::FromBits;

// Shows a double for a failure message: its bit pattern, which names it
// exactly without going through any formatting under test.
inline void ReportDouble(const char* name, double v) {
    std::fprintf(stderr, "  %s = bits 0x%016llx\n", name, static_cast<unsigned long long>(Bits(v)));
}

inline void ReportText(const char* name, const char* text) {
    std::fprintf(stderr, "  %s = \"", name);
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
        if (*p >= 0x20 && *p < 0x7F && *p != '"' && *p != '\\') {
            std::fputc(*p, stderr);
        } else {
            std::fprintf(stderr, "\\x%02X", *p);
        }
    }
    std::fprintf(stderr, "\"\n");
}

// Length of the NUL-terminated text inside a buffer of size bytes, or size
// when there is no NUL in it.
inline std::size_t BoundedLength(const char* buffer, std::size_t size) {
    const void* nul = std::memchr(buffer, 0, size);
    return nul == nullptr ? size : static_cast<std::size_t>(static_cast<const char*>(nul) - buffer);
}

// True when every byte of [from, to) still holds the guard.
inline bool GuardIntact(const char* buffer, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i) {
        if (static_cast<unsigned char>(buffer[i]) != kGuard) {
            return false;
        }
    }
    return true;
}

inline bool IsDigitChar(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace fuzz
