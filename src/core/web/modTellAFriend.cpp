#include "core/web/modTellAFriend.h"

namespace annuvia {

namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Reads the character at text[i] and moves i past it (two units for a
// surrogate pair of a 16-bit wchar_t).
char32_t NextCharacter(std::wstring_view text, std::size_t& i) {
    const char32_t c = static_cast<char32_t>(text[i++]);
    if constexpr (sizeof(wchar_t) == 2) {
        if (IsHighSurrogate(c) && i < text.size()) {
            const char32_t low = static_cast<char32_t>(text[i]);
            if (IsLowSurrogate(low)) {
                ++i;
                return 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
            }
        }
    }
    if (IsHighSurrogate(c) || IsLowSurrogate(c) || c > 0x10FFFF) return kReplacementCharacter;
    return c;
}

bool IsUnreserved(unsigned byte) {
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
           (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' ||
           byte == '~';
}

void AppendByte(std::wstring& out, unsigned byte) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    if (IsUnreserved(byte)) {
        out += static_cast<wchar_t>(byte);
        return;
    }
    out += L'%';
    out += static_cast<wchar_t>(kHex[byte >> 4]);
    out += static_cast<wchar_t>(kHex[byte & 0xF]);
}

void AppendUtf8(std::wstring& out, char32_t c) {
    if (c < 0x80) {
        AppendByte(out, c);
    } else if (c < 0x800) {
        AppendByte(out, 0xC0 | (c >> 6));
        AppendByte(out, 0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        AppendByte(out, 0xE0 | (c >> 12));
        AppendByte(out, 0x80 | ((c >> 6) & 0x3F));
        AppendByte(out, 0x80 | (c & 0x3F));
    } else {
        AppendByte(out, 0xF0 | (c >> 18));
        AppendByte(out, 0x80 | ((c >> 12) & 0x3F));
        AppendByte(out, 0x80 | ((c >> 6) & 0x3F));
        AppendByte(out, 0x80 | (c & 0x3F));
    }
}

bool EmptyOrPrompt(const std::wstring& value, std::wstring_view prompt) {
    return value.empty() || value == prompt;
}

bool Lacks(const std::wstring& text, wchar_t c) { return text.find(c) == std::wstring::npos; }

TellAFriendOutcome Refuse(const wchar_t* message) { return TellAFriendOutcome{message, {}}; }

}  // namespace

std::wstring TrimSpaces(std::wstring_view text) {
    const std::size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring_view::npos) return {};
    const std::size_t last = text.find_last_not_of(L' ');
    return std::wstring(text.substr(first, last - first + 1));
}

std::optional<std::wstring> TextOnGotFocus(std::wstring_view text, std::wstring_view prompt) {
    if (TrimSpaces(text) == prompt) return std::wstring();
    return std::nullopt;
}

std::optional<std::wstring> TextOnLostFocus(std::wstring_view text, std::wstring_view prompt) {
    if (TrimSpaces(text).empty()) return std::wstring(prompt);
    return std::nullopt;
}

bool IsRefusedAddressKey(wchar_t code) { return code == L' '; }

std::wstring PercentEncode(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size() * 3);
    for (std::size_t i = 0; i < text.size();) AppendUtf8(out, NextCharacter(text, i));
    return out;
}

std::wstring BuildTellAFriendAddress(const TellAFriendStrings& s) {
    std::wstring address = kReferralPage;
    address += L"&taf1=" + PercentEncode(s.strTAFName);
    address += L"&taf2=" + PercentEncode(s.strTAFEmail);
    address += L"&taf3=" + PercentEncode(s.strTAFMessage);
    address += L"&taf4=" + PercentEncode(s.strTAFFriendName);
    address += L"&taf5=" + PercentEncode(s.strTAFFriendEmail);
    address += L"&taf6=";
    address += kProgramFolder;
    return address;
}

TellAFriendOutcome CheckTellAFriend(const TellAFriendFields& fields, TellAFriendStrings& s) {
    // Stored first, so the strings hold the last attempt even when a check fails.
    s.strTAFName = TrimSpaces(fields.name);
    s.strTAFEmail = TrimSpaces(fields.email);
    s.strTAFMessage = TrimSpaces(fields.message);
    s.strTAFFriendName = TrimSpaces(fields.friendName);
    s.strTAFFriendEmail = TrimSpaces(fields.friendEmail);

    // The addresses are compared exactly, letter case included. An "@" and a
    // "." anywhere, in either order, make an address proper.
    if (s.strTAFEmail == s.strTAFFriendEmail) return Refuse(kMsgDistinctAddresses);
    if (Lacks(s.strTAFEmail, L'@') || Lacks(s.strTAFFriendEmail, L'@'))
        return Refuse(kMsgProperAddress);
    if (Lacks(s.strTAFEmail, L'.') || Lacks(s.strTAFFriendEmail, L'.'))
        return Refuse(kMsgProperAddress);

    // The stored values are trimmed already; a second trim would change nothing.
    if (EmptyOrPrompt(s.strTAFName, kPromptName)) return Refuse(kMsgEnterName);
    if (EmptyOrPrompt(s.strTAFMessage, kPromptMessage)) return Refuse(kMsgEnterMessage);
    if (EmptyOrPrompt(s.strTAFFriendName, kPromptFriendName)) return Refuse(kMsgEnterFriendName);

    s.strTAFURL = BuildTellAFriendAddress(s);
    return TellAFriendOutcome{nullptr, s.strTAFURL};
}

void OpenTellAFriendPage(Platform& platform, const TellAFriendStrings& strings) {
    OpenWebPage(platform, strings.strTAFURL);
}

const wchar_t* SubmitTellAFriend(Platform& platform, const TellAFriendFields& fields,
                                 TellAFriendStrings& strings) {
    const TellAFriendOutcome outcome = CheckTellAFriend(fields, strings);
    if (outcome.Passed()) OpenTellAFriendPage(platform, strings);
    return outcome.message;
}

}  // namespace annuvia
