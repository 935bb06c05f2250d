#pragma once
// Shared pieces of the libFuzzer fuzzers of the portable core: a CHECK that
// prints what failed and traps, a reader that turns the fuzzer's bytes into
// numbers and wide texts, and the reference UTF-8 / percent encoders that the
// fuzzers compare the product with. Written apart from the product code on
// purpose: nothing here calls into src/.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// The fuzzer entry point: libFuzzer's main calls it, or replay_main.cpp does.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace annuvia::fuzz {

// A wide text as printable ASCII, for failure messages: printable ASCII as is,
// everything else as \x{...}.
inline std::string Show(std::wstring_view text) {
    std::string out = "\"";
    for (const wchar_t c : text) {
        const auto u = static_cast<std::uint32_t>(c);
        if (u >= 0x20 && u < 0x7F && u != '\\' && u != '"') {
            out += static_cast<char>(u);
        } else {
            char buf[24];
            std::snprintf(buf, sizeof buf, "\\x{%X}", static_cast<unsigned>(u));
            out += buf;
        }
    }
    return out + "\"";
}
inline std::string Show(const std::string& bytes) {
    std::string out = "\"";
    for (const char ch : bytes) {
        const auto u = static_cast<unsigned char>(ch);
        if (u >= 0x20 && u < 0x7F && u != '\\' && u != '"') {
            out += static_cast<char>(u);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", u);
            out += buf;
        }
    }
    return out + "\"";
}

[[noreturn]] inline void CheckFailed(const char* file, int line, const char* condition,
                                     const std::string& detail) {
    std::fprintf(stderr, "\n*** CHECK failed at %s:%d: %s\n", file, line, condition);
    if (!detail.empty()) std::fprintf(stderr, "*** %s\n", detail.c_str());
    std::fflush(stderr);
    __builtin_trap();
}

}  // namespace annuvia::fuzz

// CHECK(condition) or CHECK(condition, detail): detail is a std::string
// (built only when the check fails) that says what the inputs were.
#define FUZZ_CHECK_1(cond)                                                                   \
    do {                                                                                     \
        if (!(cond)) ::annuvia::fuzz::CheckFailed(__FILE__, __LINE__, #cond, std::string()); \
    } while (0)
#define FUZZ_CHECK_2(cond, detail)                                                      \
    do {                                                                                \
        if (!(cond)) ::annuvia::fuzz::CheckFailed(__FILE__, __LINE__, #cond, (detail)); \
    } while (0)
#define FUZZ_CHECK_PICK(_1, _2, name, ...) name
#define CHECK(...) FUZZ_CHECK_PICK(__VA_ARGS__, FUZZ_CHECK_2, FUZZ_CHECK_1, unused)(__VA_ARGS__)

namespace annuvia::fuzz {

// Reads the fuzzer's bytes front to back; past the end every read gives 0.
class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool AtEnd() const { return pos_ >= size_; }
    std::uint8_t Byte() { return AtEnd() ? 0 : data_[pos_++]; }
    // Big-endian unsigned value of n bytes (n <= 4).
    std::uint32_t Bits(int n) {
        std::uint32_t v = 0;
        for (int i = 0; i < n; ++i) v = (v << 8) | Byte();
        return v;
    }
    std::string Rest() {
        std::string rest(reinterpret_cast<const char*>(data_) + pos_, AtEnd() ? 0 : size_ - pos_);
        pos_ = size_;
        return rest;
    }

    // One character: a byte below 0xF0 is that character (ASCII and most of
    // Latin-1, so seeds stay readable); 0xF0-0xF7 takes the next two bytes as
    // a 16-bit value (surrogates among them), 0xF8-0xFB the next three (up to
    // 0xFFFFFF, past U+10FFFF), 0xFC-0xFF the next four as the whole 32 bits of
    // a 32-bit wchar_t (negative values among them).
    wchar_t WideChar(std::uint8_t first) {
        if (first < 0xF0) return static_cast<wchar_t>(first);
        const int n = first < 0xF8 ? 2 : first < 0xFC ? 3 : 4;
        return static_cast<wchar_t>(Bits(n));
    }

    // A wide text up to the next raw separator byte (not included) or the end.
    // An escaped character of the separator's value is part of the text.
    std::wstring WideText(int separator = -1) {
        std::wstring text;
        while (!AtEnd()) {
            const std::uint8_t b = Byte();
            if (separator >= 0 && b == separator) break;
            text += WideChar(b);
        }
        return text;
    }

    // count texts separated by raw separator bytes; missing ones are empty.
    std::vector<std::wstring> WideFields(int count, std::uint8_t separator = '|') {
        std::vector<std::wstring> fields;
        for (int i = 0; i < count; ++i) fields.push_back(WideText(i + 1 < count ? separator : -1));
        return fields;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// The reference UTF-8 encoder: each wchar_t is one code point (32-bit
// wchar_t); a surrogate, a value past U+10FFFF or a negative value is no
// character and gives U+FFFD's bytes.
inline std::string ReferenceUtf8(std::wstring_view text) {
    static_assert(sizeof(wchar_t) == 4, "the reference reads wchar_t as UTF-32");
    std::string out;
    for (const wchar_t wc : text) {
        std::uint32_t cp = static_cast<std::uint32_t>(wc);
        if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) cp = 0xFFFD;
        if (cp <= 0x7F) {
            out += static_cast<char>(cp);
        } else if (cp <= 0x7FF) {
            out += static_cast<char>(0xC0 + (cp >> 6));
            out += static_cast<char>(0x80 + (cp & 0x3F));
        } else if (cp <= 0xFFFF) {
            out += static_cast<char>(0xE0 + (cp >> 12));
            out += static_cast<char>(0x80 + ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 + (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 + (cp >> 18));
            out += static_cast<char>(0x80 + ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 + ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 + (cp & 0x3F));
        }
    }
    return out;
}

// RFC 3986 unreserved characters.
inline bool IsUnreservedByte(unsigned char b) {
    return (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || b == '-' ||
           b == '.' || b == '_' || b == '~';
}

// The reference percent encoding: unreserved bytes as they are, every other
// byte of the UTF-8 form as %XX with upper-case hex digits.
inline std::wstring ReferencePercentEncode(std::wstring_view text) {
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    std::wstring out;
    for (const char ch : ReferenceUtf8(text)) {
        const auto b = static_cast<unsigned char>(ch);
        if (IsUnreservedByte(b)) {
            out += static_cast<wchar_t>(b);
        } else {
            out += L'%';
            out += static_cast<wchar_t>(kHexDigits[b / 16]);
            out += static_cast<wchar_t>(kHexDigits[b % 16]);
        }
    }
    return out;
}

// Trims leading and trailing spaces (code 32) only.
inline std::wstring ReferenceTrim(std::wstring_view text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && text[begin] == L' ') ++begin;
    while (end > begin && text[end - 1] == L' ') --end;
    return std::wstring(text.substr(begin, end - begin));
}

}  // namespace annuvia::fuzz
