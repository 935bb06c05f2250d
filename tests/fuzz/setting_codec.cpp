// Fuzzer 1, the setting codec: EncodeSettingCodes / DecodeSettingCodes
// on arbitrary bytes, and EncodeSetting / DecodeSetting on arbitrary wide text
// through the recording platform's Latin-1 code page.
//
// Properties: neither direction fails or grows the text; Encode keeps exactly
// the codes 0..170, each moved up by 85 (so its output lies in 85..255), and
// Decode keeps exactly the codes 85..255, each moved down by 85; so
// Decode(Encode(x)) is x without its codes above 170.

#include <string>

#include "fuzz/fuzz_support.h"
#include "support/fake_platform.h"
#include "core/web/modHelp.h"

namespace {

using annuvia::fuzz::Show;

// The code of a character in the fake platform's code page: the first 256
// characters are their own codes, anything else becomes '?'.
int CodeOf(wchar_t c) {
    const auto u = static_cast<std::uint32_t>(c);
    return u < 256 ? static_cast<int>(u) : '?';
}

void CheckCodes(const std::string& input) {
    const std::string encoded = annuvia::EncodeSettingCodes(input);
    const std::string decoded = annuvia::DecodeSettingCodes(input);
    const std::string roundTrip = annuvia::DecodeSettingCodes(encoded);

    std::string expectEncoded, expectDecoded, kept;
    for (const char ch : input) {
        const int c = static_cast<unsigned char>(ch);
        if (c <= 170) {
            expectEncoded += static_cast<char>(c + 85);
            kept += ch;
        }
        if (c >= 85) expectDecoded += static_cast<char>(c - 85);
    }
    const auto what = [&] { return std::string("input " + Show(input)); };
    CHECK(encoded.size() <= input.size(), what());
    CHECK(decoded.size() <= input.size(), what());
    for (const char ch : encoded)
        CHECK(static_cast<unsigned char>(ch) >= 85, what() + " encoded " + Show(encoded));
    for (const char ch : decoded)
        CHECK(static_cast<unsigned char>(ch) <= 170, what() + " decoded " + Show(decoded));
    CHECK(encoded == expectEncoded,
          what() + " encoded " + Show(encoded) + " expected " + Show(expectEncoded));
    CHECK(decoded == expectDecoded,
          what() + " decoded " + Show(decoded) + " expected " + Show(expectDecoded));
    CHECK(roundTrip == kept, what() + " round trip " + Show(roundTrip) + " expected " + Show(kept));
}

void CheckText(const std::wstring& input) {
    annuvia::test::FakePlatform platform;
    const std::wstring encoded = annuvia::EncodeSetting(platform, input);
    const std::wstring decoded = annuvia::DecodeSetting(platform, input);
    const std::wstring roundTrip = annuvia::DecodeSetting(platform, encoded);

    std::wstring expectEncoded, expectDecoded, kept;
    std::string codes;
    for (const wchar_t c : input) {
        const int code = CodeOf(c);
        codes += static_cast<char>(code);
        if (code <= 170) {
            expectEncoded += static_cast<wchar_t>(code + 85);
            kept += static_cast<wchar_t>(code);  // a character off the code page comes back as '?'
        }
        if (code >= 85) expectDecoded += static_cast<wchar_t>(code - 85);
    }
    const auto what = [&] { return std::string("text " + Show(input)); };
    CHECK(encoded.size() <= input.size(), what());
    CHECK(decoded.size() <= input.size(), what());
    for (const wchar_t c : encoded) CHECK(c >= 85 && c <= 255, what() + " encoded " + Show(encoded));
    CHECK(encoded == expectEncoded,
          what() + " encoded " + Show(encoded) + " expected " + Show(expectEncoded));
    CHECK(decoded == expectDecoded,
          what() + " decoded " + Show(decoded) + " expected " + Show(expectDecoded));
    CHECK(roundTrip == kept, what() + " round trip " + Show(roundTrip) + " expected " + Show(kept));

    // The text codec is the byte codec seen through the code page.
    const std::string encodedCodes = annuvia::EncodeSettingCodes(codes);
    CHECK(encodedCodes.size() == encoded.size(), what());
    for (std::size_t i = 0; i < encoded.size(); ++i)
        CHECK(static_cast<unsigned char>(encodedCodes[i]) == static_cast<std::uint32_t>(encoded[i]), what());

    // Nothing of the codec touches the settings store or shows anything.
    CHECK(platform.settingWrites == 0 && platform.messages.empty() && platform.pages.empty(), what());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    annuvia::fuzz::ByteReader reader(data, size);
    const std::string bytes = reader.Rest();
    CheckCodes(bytes);
    annuvia::fuzz::ByteReader wide(data, size);
    CheckText(wide.WideText());
    return 0;
}
