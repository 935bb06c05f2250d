#include "core/web/modTellAFriend.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace annuvia {
namespace {

const wchar_t* const kDistinct = L"Please Enter Distinct Email Addresses";
const wchar_t* const kProper = L"Please Enter Proper Email Address";
const wchar_t* const kHidden = L"Your Message\r\n";  // the hidden box, untouched
const std::wstring kHiddenSent = L"&taf3=Your%20Message%0D%0A";

TEST(CheckTellAFriend, ChecksInOrderThenBuildsTheEncodedAddress) {
    struct Row {
        TellAFriendFields fields;
        const wchar_t* message;  // null: the checks pass and these fields are sent
        std::wstring sent;
    };
    const Row rows[] = {
        {{L"Your Name", L"Your Email Address", kHidden, L"Friend's Name", L"Friend's Email Address"},
         kProper, {}},
        {{L"Ann", L"Ann@Mail.com", kHidden, L"Bob", L"ann@mail.com"}, nullptr,
         L"&taf1=Ann&taf2=Ann%40Mail.com" + kHiddenSent + L"&taf4=Bob&taf5=ann%40mail.com"},
        {{L"Ann", L"  abc ", kHidden, L"Bob", L"abc"}, kDistinct, {}},
        {{L"Ann", L"a.b@c", kHidden, L"Bob", L"a@."}, nullptr,
         L"&taf1=Ann&taf2=a.b%40c" + kHiddenSent + L"&taf4=Bob&taf5=a%40."},
        {{L"Ann", L"a@b", kHidden, L"Bob", L"x@y.z"}, kProper, {}},
        {{L"Ann", L"a@b.c", kHidden, L"Bob", L"x.y"}, kProper, {}},
        {{L"Ann", L"a@b.c", kHidden, L"Bob", L"x@y"}, kProper, {}},
        {{L"Your Name", L"a@b.c", L"Your Message", L"Bob", L"x@y.z"}, L"Please Enter Your Name", {}},
        {{L"   ", L"a@b.c", kHidden, L"Bob", L"x@y.z"}, L"Please Enter Your Name", {}},
        {{L"Ann", L"a@b.c", L" Your Message ", L"Friend's Name", L"x@y.z"},
         L"Please Enter Your Message", {}},
        {{L"Ann", L"a@b.c", kHidden, L"Friend's Name", L"x@y.z"}, L"Please Enter Your Friend's Name",
         {}},
        {{L"your name", L"a@b.c", L"your message", L"friend's name", L"x@y.z"}, nullptr,
         L"&taf1=your%20name&taf2=a%40b.c&taf3=your%20message&taf4=friend%27s%20name&taf5=x%40y.z"},
        {{L"  Ann  Lee ", L" a@b.c", L" Hi\t& bye \r\n ", L"\tBob ", L"x@y.z  "}, nullptr,
         L"&taf1=Ann%20%20Lee&taf2=a%40b.c&taf3=Hi%09%26%20bye%20%0D%0A&taf4=%09Bob&taf5=x%40y.z"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(&row - rows);
        TellAFriendStrings strings;
        const TellAFriendOutcome outcome = CheckTellAFriend(row.fields, strings);
        EXPECT_STREQ(outcome.message, row.message);
        const std::wstring sent = row.message ? L"" : std::wstring(kGatewayBase) +
            L"/annuvia/ssd.php?page=kzvx-refer-a-friend" + row.sent + L"&taf6=" + kGatewayBase +
            L"/annuvia/";
        EXPECT_EQ(outcome.address, sent);
        EXPECT_EQ(strings.strTAFURL, sent);
    }
}

TEST(CheckTellAFriend, StoresEveryAttemptButKeepsTheLastBuiltAddress) {
    TellAFriendStrings s;
    ASSERT_TRUE(CheckTellAFriend({L"Ann", L"a@b.c", L"Hi", L"Bob", L"x@y.z"}, s).Passed());
    const std::wstring built = s.strTAFURL;
    EXPECT_STREQ(CheckTellAFriend({L" Cy ", L" c@d ", L" Yo\r\n", L"  Di", L"e@f.g "}, s).message,
                 kProper);
    EXPECT_EQ(s.strTAFName, L"Cy");
    EXPECT_EQ(s.strTAFEmail, L"c@d");
    EXPECT_EQ(s.strTAFMessage, L"Yo\r\n");
    EXPECT_EQ(s.strTAFFriendName, L"Di");
    EXPECT_EQ(s.strTAFFriendEmail, L"e@f.g");
    EXPECT_EQ(s.strTAFURL, built);
}

TEST(PercentEncode, Utf8BytesOfEverythingButUnreservedCharacters) {
    const std::pair<std::wstring, std::wstring> rows[] = {
        {L"AZaz09-._~", L"AZaz09-._~"},
        {L"&=#+% \r\n/", L"%26%3D%23%2B%25%20%0D%0A%2F"},
        {std::wstring(L"\0\x7F", 2), L"%00%7F"},
        {L"\u00E9\u07FF\u0800\uFFFF", L"%C3%A9%DF%BF%E0%A0%80%EF%BF%BF"},
        {L"\u0416\u0443\u043A\u65E5\u672C", L"%D0%96%D1%83%D0%BA%E6%97%A5%E6%9C%AC"},
        {L"\U0001F600\U0010FFFF", L"%F0%9F%98%80%F4%8F%BF%BF"},
        {std::wstring{wchar_t(0xD800), L'a', wchar_t(0xDC00)}, L"%EF%BF%BDa%EF%BF%BD"},
        // Two high halves, then a low one: on 16-bit wchar_t the last two pair up.
        {std::wstring{wchar_t(0xD83D), wchar_t(0xD83D), wchar_t(0xDE00)},
         sizeof(wchar_t) == 2 ? L"%EF%BF%BD%F0%9F%98%80" : L"%EF%BF%BD%EF%BF%BD%EF%BF%BD"},
    };
    for (const auto& [text, encoded] : rows) EXPECT_EQ(PercentEncode(text), encoded);
    if constexpr (sizeof(wchar_t) == 4) {
        EXPECT_EQ(PercentEncode(std::wstring(1, wchar_t(0x110000))), L"%EF%BF%BD");
    }
}

TEST(TellAFriendPrompts, FocusEmptiesAndRestoresPromptsAndSpacesAreRefused) {
    EXPECT_EQ(TextOnGotFocus(L" Your Name ", kPromptName), L"");
    EXPECT_EQ(TextOnGotFocus(kInitialMessageText, kPromptMessage), std::nullopt);
    EXPECT_EQ(TextOnLostFocus(L"   ", kPromptFriendName), L"Friend's Name");
    EXPECT_EQ(TextOnLostFocus(L"", kPromptMessage), L"Your Message");
    EXPECT_EQ(TextOnLostFocus(L"", kPromptEmail), L"Your Email Address");
    EXPECT_EQ(TextOnLostFocus(L"\t", kPromptFriendEmail), std::nullopt);
    EXPECT_EQ(TrimSpaces(L"  \t a b\r\n "), L"\t a b\r\n");
    EXPECT_TRUE(IsRefusedAddressKey(L' '));
    EXPECT_FALSE(IsRefusedAddressKey(L'\t'));
}

}  // namespace
}  // namespace annuvia
