#pragma once
// The refer-a-friend form of the exit screen as plain logic: the prompts of its
// text boxes, the key filter of the two address boxes, the checks of a submit
// and the address of the referral page. The exit screen reads its boxes, calls
// these with the texts and acts on the answer. Portable: no <windows.h>.

#include <optional>
#include <string>
#include <string_view>

#include "core/platform/platform.h"
#include "core/web/modHelp.h"

namespace annuvia {

// What each box shows while it holds nothing of the user's.
inline constexpr wchar_t kPromptName[] = L"Your Name";
inline constexpr wchar_t kPromptEmail[] = L"Your Email Address";
inline constexpr wchar_t kPromptFriendEmail[] = L"Friend's Email Address";
inline constexpr wchar_t kPromptFriendName[] = L"Friend's Name";
inline constexpr wchar_t kPromptMessage[] = L"Your Message";
// The message box starts with its prompt and a line break; the prompt handling
// and the checks compare with the prompt alone, so that text counts as typed.
inline constexpr wchar_t kInitialMessageText[] = L"Your Message\r\n";

// Texts of the form's message boxes (critical icon, OK).
inline constexpr wchar_t kMsgAddressSpace[] = L"Email Address Cannot Contain Space";
inline constexpr wchar_t kMsgDistinctAddresses[] = L"Please Enter Distinct Email Addresses";
inline constexpr wchar_t kMsgProperAddress[] = L"Please Enter Proper Email Address";
inline constexpr wchar_t kMsgEnterName[] = L"Please Enter Your Name";
inline constexpr wchar_t kMsgEnterMessage[] = L"Please Enter Your Message";
inline constexpr wchar_t kMsgEnterFriendName[] = L"Please Enter Your Friend's Name";

// The referral page, and the program's folder on the gateway that goes with it.
inline constexpr wchar_t kReferralPage[] = ANNUVIA_PAGE_ADDRESS(L"kzvx-refer-a-friend");
inline constexpr wchar_t kProgramFolder[] = ANNUVIA_GATEWAY_BASE L"/annuvia/";

// The five texts as the exit screen reads them from its boxes, untrimmed.
struct TellAFriendFields {
    std::wstring name;         // txtName
    std::wstring email;        // txtEmail
    std::wstring message;      // txtMessage
    std::wstring friendName;   // txtFriendName
    std::wstring friendEmail;  // txtFriendEmail
};

// What the last submit stored. The exit screen owns one for the life of the
// process. Every submit overwrites the five values before it checks anything;
// strTAFURL changes only when the checks pass.
struct TellAFriendStrings {
    std::wstring strTAFName;
    std::wstring strTAFEmail;
    std::wstring strTAFMessage;
    std::wstring strTAFFriendName;
    std::wstring strTAFFriendEmail;
    std::wstring strTAFURL;  // the complete address last built
};

// The answer to a submit: a message to show, or the address to open.
struct TellAFriendOutcome {
    const wchar_t* message = nullptr;  // null when every check passed
    std::wstring address;              // empty when a check failed
    bool Passed() const { return message == nullptr; }
};

// Removes leading and trailing spaces (code 32) only; tabs and line breaks stay.
std::wstring TrimSpaces(std::wstring_view text);

// The new text of a box that gains or loses the focus, or nothing when the box
// keeps its text. Gaining: a box holding its prompt is emptied. Losing: a box
// holding nothing but spaces gets its prompt back.
std::optional<std::wstring> TextOnGotFocus(std::wstring_view text, std::wstring_view prompt);
std::optional<std::wstring> TextOnLostFocus(std::wstring_view text, std::wstring_view prompt);

// The two address boxes discard a typed space and show kMsgAddressSpace.
bool IsRefusedAddressKey(wchar_t code);

// The UTF-8 bytes of the text, with A-Z a-z 0-9 - . _ ~ as they are and every
// other byte as %XX (upper-case hex). A 16-bit wchar_t text is read as UTF-16;
// an unpaired surrogate (or, with 32-bit wchar_t, any value that is no
// character) is sent as U+FFFD. The result is plain ASCII.
std::wstring PercentEncode(std::wstring_view text);

// The referral page with the five stored values (encoded) and the program's folder.
std::wstring BuildTellAFriendAddress(const TellAFriendStrings& strings);

// Stores the trimmed fields, then runs the checks in order and stops at the
// first that fails; when all pass, builds strTAFURL. Opens nothing.
TellAFriendOutcome CheckTellAFriend(const TellAFriendFields& fields, TellAFriendStrings& strings);

// Hands strTAFURL to the shell.
void OpenTellAFriendPage(Platform& platform, const TellAFriendStrings& strings);

// The whole of a press of Submit: checks, and when they pass opens the page.
// Returns the message the window shows, or null when the page was opened.
const wchar_t* SubmitTellAFriend(Platform& platform, const TellAFriendFields& fields,
                                 TellAFriendStrings& strings);

}  // namespace annuvia
