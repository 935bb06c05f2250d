// Fuzzer 3, the refer-a-friend decision: five arbitrary texts, as the
// exit screen reads them from its boxes, go through CheckTellAFriend and
// SubmitTellAFriend; the outcome is compared with a reference decision
// written here from the form's rules:
//   trim spaces (code 32) only; the two addresses distinct; both contain "@";
//   both contain "."; name, message and friend's name neither empty nor
//   their prompt; the first failing test gives its message. On success the
//   address is the referral page, taf1..taf5 the percent-encoded values
//   (as modTellAFriend documents it, so that no value breaks the address), and
//   taf6 the program's folder on the gateway.
// The five strings are stored (trimmed) in every case; the built address
// changes only on success. The prompt handlers are checked on the same texts.
//
// Input: the five texts name|email|message|friendName|friendEmail, split at
// raw '|' bytes (see ByteReader::WideText for the character escapes).

#include <optional>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "support/fake_platform.h"
#include "core/web/modTellAFriend.h"

namespace {

using annuvia::fuzz::ReferencePercentEncode;
using annuvia::fuzz::ReferenceTrim;
using annuvia::fuzz::Show;

struct Decision {
    std::wstring message;  // empty when every test passes
    std::wstring address;  // empty when a test fails
};

bool Has(const std::wstring& text, wchar_t c) { return text.find(c) != std::wstring::npos; }

Decision Reference(const std::vector<std::wstring>& f) {
    const std::wstring name = ReferenceTrim(f[0]), email = ReferenceTrim(f[1]), message = ReferenceTrim(f[2]),
                       friendName = ReferenceTrim(f[3]), friendEmail = ReferenceTrim(f[4]);
    if (email == friendEmail) return {L"Please Enter Distinct Email Addresses", {}};
    if (!Has(email, L'@') || !Has(friendEmail, L'@')) return {L"Please Enter Proper Email Address", {}};
    if (!Has(email, L'.') || !Has(friendEmail, L'.')) return {L"Please Enter Proper Email Address", {}};
    if (name.empty() || name == L"Your Name") return {L"Please Enter Your Name", {}};
    if (message.empty() || message == L"Your Message") return {L"Please Enter Your Message", {}};
    if (friendName.empty() || friendName == L"Friend's Name") return {L"Please Enter Your Friend's Name", {}};
    const std::wstring base = annuvia::kGatewayBase;
    return {{},
            base + L"/annuvia/ssd.php?page=kzvx-refer-a-friend" + L"&taf1=" + ReferencePercentEncode(name) +
                L"&taf2=" + ReferencePercentEncode(email) + L"&taf3=" + ReferencePercentEncode(message) +
                L"&taf4=" + ReferencePercentEncode(friendName) + L"&taf5=" +
                ReferencePercentEncode(friendEmail) + L"&taf6=" + base + L"/annuvia/"};
}

std::string Describe(const std::vector<std::wstring>& f) {
    return "name " + Show(f[0]) + " email " + Show(f[1]) + " message " + Show(f[2]) + " friendName " +
           Show(f[3]) + " friendEmail " + Show(f[4]);
}

void CheckPromptHandling(const std::wstring& text, const wchar_t* prompt) {
    const std::wstring trimmed = ReferenceTrim(text);
    const std::optional<std::wstring> got = annuvia::TextOnGotFocus(text, prompt);
    const std::optional<std::wstring> lost = annuvia::TextOnLostFocus(text, prompt);
    const auto what = [&] {
        return std::string("text " + Show(text) + " prompt " + Show(std::wstring(prompt)));
    };
    CHECK(got.has_value() == (trimmed == prompt), what());
    if (got) CHECK(got->empty(), what());
    CHECK(lost.has_value() == trimmed.empty(), what());
    if (lost) CHECK(*lost == prompt, what());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    annuvia::fuzz::ByteReader reader(data, size);
    const std::vector<std::wstring> f = reader.WideFields(5);
    const annuvia::TellAFriendFields fields{f[0], f[1], f[2], f[3], f[4]};
    const Decision expected = Reference(f);
    const auto what = [&] { return std::string(Describe(f)); };

    // The strings hold an earlier successful submit's address.
    annuvia::TellAFriendStrings strings;
    const std::wstring earlier = L"earlier address";
    strings.strTAFURL = earlier;
    const annuvia::TellAFriendOutcome outcome = annuvia::CheckTellAFriend(fields, strings);

    CHECK(strings.strTAFName == ReferenceTrim(f[0]), what());
    CHECK(strings.strTAFEmail == ReferenceTrim(f[1]), what());
    CHECK(strings.strTAFMessage == ReferenceTrim(f[2]), what());
    CHECK(strings.strTAFFriendName == ReferenceTrim(f[3]), what());
    CHECK(strings.strTAFFriendEmail == ReferenceTrim(f[4]), what());
    if (expected.message.empty()) {
        CHECK(outcome.Passed(), what() + ": refused with " + Show(std::wstring(outcome.message)));
        CHECK(outcome.address == expected.address,
              what() + ": address " + Show(outcome.address) + " expected " + Show(expected.address));
        CHECK(strings.strTAFURL == expected.address, what());
    } else {
        CHECK(!outcome.Passed(), what() + ": passed, expected " + Show(expected.message));
        CHECK(outcome.message == expected.message, what() + ": message " +
                                                       Show(std::wstring(outcome.message)) + " expected " +
                                                       Show(expected.message));
        CHECK(outcome.address.empty(), what());
        CHECK(strings.strTAFURL == earlier, what() + ": a refused submit changed the built address");
    }

    // A whole press of Submit: the page opens once with that address on
    // success, never on a refusal; the platform shows nothing itself.
    annuvia::test::FakePlatform platform;
    annuvia::TellAFriendStrings submitted;
    const wchar_t* message = annuvia::SubmitTellAFriend(platform, fields, submitted);
    CHECK((message == nullptr) == expected.message.empty(), what());
    if (message) CHECK(message == expected.message, what());
    CHECK(platform.pages.size() == (expected.message.empty() ? 1u : 0u), what());
    if (!platform.pages.empty()) CHECK(platform.pages[0] == expected.address, what());
    CHECK(platform.messages.empty() && platform.settingWrites == 0, what());

    // The prompt handling of each box on the same texts.
    CheckPromptHandling(f[0], annuvia::kPromptName);
    CheckPromptHandling(f[1], annuvia::kPromptEmail);
    CheckPromptHandling(f[2], annuvia::kPromptMessage);
    CheckPromptHandling(f[3], annuvia::kPromptFriendName);
    CheckPromptHandling(f[4], annuvia::kPromptFriendEmail);
    return 0;
}
