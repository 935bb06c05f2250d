// Fuzzer 2, the address encoder of the refer-a-friend request: PercentEncode
// of arbitrary wide text, with 32-bit wchar_t values of every kind (ASCII,
// Latin-1, the rest of the BMP, surrogate code points, the supplementary
// planes, values past U+10FFFF and negative ones).
//
// Properties: the result is plain ASCII made of unreserved characters and %XX
// triples with upper-case hex digits, no unreserved byte is escaped, and
// percent-decoding it gives exactly the UTF-8 bytes of the input, with every
// value that is no character read as U+FFFD. The UTF-8 reference is the
// fuzzer's own (fuzz_support.h).

#include <string>

#include "fuzz/fuzz_support.h"
#include "core/web/modTellAFriend.h"

namespace {

using annuvia::fuzz::Show;

int HexValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;  // lower-case digits are not what the encoder writes
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    annuvia::fuzz::ByteReader reader(data, size);
    const std::wstring input = reader.WideText();
    const std::wstring encoded = annuvia::PercentEncode(input);
    const auto what = [&] { return std::string("input " + Show(input) + " encoded " + Show(encoded)); };

    // Decode it, checking the form on the way.
    std::string bytes;
    for (std::size_t i = 0; i < encoded.size();) {
        const wchar_t c = encoded[i];
        CHECK(c > 0 && c < 0x80, what() + ": not ASCII at " + std::to_string(i));
        if (c == L'%') {
            CHECK(i + 2 < encoded.size(), what() + ": cut-off %XX at " + std::to_string(i));
            const int high = HexValue(encoded[i + 1]), low = HexValue(encoded[i + 2]);
            CHECK(high >= 0 && low >= 0, what() + ": bad %XX at " + std::to_string(i));
            const auto byte = static_cast<unsigned char>(high * 16 + low);
            CHECK(!annuvia::fuzz::IsUnreservedByte(byte),
                  what() + ": unreserved byte escaped at " + std::to_string(i));
            bytes += static_cast<char>(byte);
            i += 3;
        } else {
            CHECK(annuvia::fuzz::IsUnreservedByte(static_cast<unsigned char>(c)),
                  what() + ": reserved character unescaped at " + std::to_string(i));
            bytes += static_cast<char>(c);
            ++i;
        }
    }
    const std::string expected = annuvia::fuzz::ReferenceUtf8(input);
    CHECK(bytes == expected, what() + ": decodes to " + Show(bytes) + ", UTF-8 is " + Show(expected));
    // With the form pinned down, the whole text follows; say so directly too.
    CHECK(encoded == annuvia::fuzz::ReferencePercentEncode(input), what());
    // At most 12 characters per input character (four %XX triples).
    CHECK(encoded.size() <= input.size() * 12, what());
    return 0;
}
