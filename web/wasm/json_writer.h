// A JSON text written into a fixed buffer: how the WebAssembly interface
// hands its results to the page. Header only; no allocation.
//
//   JsonWriter json(buffer, sizeof buffer);
//   json.BeginObject();
//   json.Key("inner"); json.Int(207);
//   json.Key("text"); json.String("14.7 ﾐﾘ");
//   json.EndObject();
//   json.Text()  -> {"inner":207,"text":"14.7 ﾐﾘ"}
//
// Strings are UTF-8 and go out as they are, but for the quote, the
// backslash and the control characters below U+0020, which are escaped. A
// text that would not fit the buffer is not cut: Text() is then "null".
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

class JsonWriter {
public:
    JsonWriter(char* buffer, std::size_t size) : out_(buffer), size_(size) {}

    void BeginObject() { Open('{'); }
    void EndObject() { Close('}'); }
    void BeginArray() { Open('['); }
    void EndArray() { Close(']'); }

    // The name of the next value of an object.
    void Key(const char* name) {
        Separate();
        Quoted(name);
        Put(':');
        afterKey_ = true;
    }

    void String(const char* text) {
        Separate();
        Quoted(text);
    }

    void Int(std::int64_t value) {
        Separate();
        char digits[24];
        int n = 0;
        // Negated in unsigned arithmetic, so that the smallest value works too.
        std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
        do {
            digits[n++] = static_cast<char>('0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0);
        if (value < 0) Put('-');
        while (n > 0) Put(digits[--n]);
    }

    void Bool(bool value) {
        Separate();
        for (const char* p = value ? "true" : "false"; *p != '\0'; ++p) Put(*p);
    }

    void Null() {
        Separate();
        for (const char* p = "null"; *p != '\0'; ++p) Put(*p);
    }

    // The whole text, NUL-terminated; "null" if it did not fit.
    const char* Text() {
        if (overflow_ || used_ >= size_) return "null";
        out_[used_] = '\0';
        return out_;
    }

private:
    static constexpr unsigned char kFirstPrintable = 0x20;
    static constexpr int kMaxDepth = 16;

    void Quoted(const char* text) {
        static const char kHex[] = "0123456789abcdef";
        Put('"');
        for (const char* p = text; *p != '\0'; ++p) {
            const unsigned char c = static_cast<unsigned char>(*p);
            if (c == '"' || c == '\\') {
                Put('\\');
                Put(static_cast<char>(c));
            } else if (c < kFirstPrintable) {
                for (const char e : {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 0xF]}) Put(e);
            } else {
                Put(static_cast<char>(c));
            }
        }
        Put('"');
    }

    void Open(char bracket) {
        Separate();
        Put(bracket);
        if (depth_ < kMaxDepth) first_[depth_] = true;
        ++depth_;
    }

    void Close(char bracket) {
        --depth_;
        Put(bracket);
    }

    // A comma before every value of an array or object but the first; none
    // between a key and its value.
    void Separate() {
        if (afterKey_) {
            afterKey_ = false;
            return;
        }
        if (depth_ <= 0 || depth_ > kMaxDepth) return;
        if (first_[depth_ - 1]) {
            first_[depth_ - 1] = false;
        } else {
            Put(',');
        }
    }

    void Put(char c) {
        if (used_ + 1 >= size_) {
            overflow_ = true;
            return;
        }
        out_[used_++] = c;
    }

    char* out_;
    std::size_t size_;
    std::size_t used_ = 0;
    int depth_ = 0;
    bool first_[kMaxDepth] = {};
    bool afterKey_ = false;
    bool overflow_ = false;
};
