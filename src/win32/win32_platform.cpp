#include "win32/win32_platform.h"

#include <windows.h>
#include <oleauto.h>

#include <cmath>
#include <string_view>
#include <vector>

#include "win32/system_function.h"

namespace annuvia {

namespace {

// The code page of the setting codec: the system's ANSI code page where it is
// single-byte. On a double-byte system the shifted codes 128..255 are often
// lead bytes, no characters of their own, so the codec works in 1252 there:
// decoding then still undoes encoding for the dates and the key it stores.
UINT CodecCodePage() {
    const UINT acp = GetACP();
    CPINFO info{};
    if (GetCPInfo(acp, &info) && info.MaxCharSize == 1) return acp;
    return 1252;
}

// A function of a DLL of the system that only some runs need (the shell's,
// the date parser's): the DLL is loaded from the system folder when the
// function is first called, so a start that needs neither loads neither.
template <typename Fn>
Fn SystemFunction(const wchar_t* dll, const char* name) {
    HMODULE module = GetModuleHandleW(dll);
    if (!module) module = LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module) {  // a system without LOAD_LIBRARY_SEARCH_SYSTEM32
        wchar_t path[MAX_PATH];
        const UINT length = GetSystemDirectoryW(path, MAX_PATH);
        if (length > 0 && length + 1 + static_cast<UINT>(lstrlenW(dll)) < MAX_PATH) {
            lstrcatW(path, L"\\");
            lstrcatW(path, dll);
            module = LoadLibraryW(path);
        }
    }
    return ModuleFunction<Fn>(module, name);
}

// Days either side of today within which the reminder asks nothing.
constexpr int kRecentDays = 14;

using ShellExecuteAFn = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
using CoInitializeExFn = HRESULT(WINAPI*)(LPVOID, DWORD);
using VarDateFromStrFn = HRESULT(WINAPI*)(LPCOLESTR, LCID, ULONG, DATE*);
using VariantTimeToSystemTimeFn = INT(WINAPI*)(DOUBLE, LPSYSTEMTIME);

std::wstring LocaleText(LCTYPE type) {
    wchar_t text[96] = {};
    return GetLocaleInfoW(LOCALE_USER_DEFAULT, type, text, 96) ? text : L"";
}

CivilDate DaysFrom(CivilDate date, int days) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(date.year);
    st.wMonth = static_cast<WORD>(date.month);
    st.wDay = static_cast<WORD>(date.day);
    FILETIME file{};
    SystemTimeToFileTime(&st, &file);
    ULARGE_INTEGER ticks{};
    ticks.LowPart = file.dwLowDateTime;
    ticks.HighPart = file.dwHighDateTime;
    ticks.QuadPart += static_cast<ULONGLONG>(static_cast<LONGLONG>(days) * 864000000000LL);
    file.dwLowDateTime = ticks.LowPart;
    file.dwHighDateTime = ticks.HighPart;
    FileTimeToSystemTime(&file, &st);
    return CivilDate{st.wYear, st.wMonth, st.wDay};
}

}  // namespace

bool IsPlainNumericShortDate(std::wstring_view picture, int order) {
    // Exactly field, separator, field, separator, field: d or dd, M or MM and
    // yyyy, once each, and one separator character used twice.
    std::wstring fields;
    wchar_t separator = 0;
    std::size_t tokens = 0;
    for (std::size_t i = 0; i < picture.size(); ++tokens) {
        const wchar_t c = picture[i];
        std::size_t run = 1;
        while (i + run < picture.size() && picture[i + run] == c) ++run;
        if (tokens % 2 == 0) {
            if (c != L'd' && c != L'M' && c != L'y') return false;
            if (fields.find(c) != std::wstring::npos || (c == L'y' ? run != 4 : run > 2)) return false;
            fields.push_back(c);
        } else {
            if ((c != L'/' && c != L'-' && c != L'.') || run != 1 || (separator && separator != c)) return false;
            separator = c;
        }
        i += run;
    }
    static constexpr std::wstring_view kOrders[] = {L"Mdy", L"dMy", L"yMd"};
    return tokens == 5 && order >= 0 && order <= 2 && fields == kOrders[order];
}

Win32Platform::Win32Platform() : codePage_(CodecCodePage()) {}

Win32Platform::~Win32Platform() {
    if (instanceMarker_) CloseHandle(instanceMarker_);
}

CivilDate Win32Platform::Today() const {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return CivilDate{now.wYear, now.wMonth, now.wDay};
}

MsgAnswer Win32Platform::ShowMessage(WindowRef owner, const std::wstring& text, MsgButtons buttons,
                                     MsgIcon icon, const std::wstring& title) {
    UINT flags = (buttons == MsgButtons::YesNo) ? (MB_YESNO | MB_DEFBUTTON1) : MB_OK;
    flags |= (icon == MsgIcon::Critical) ? MB_ICONSTOP : MB_ICONINFORMATION;
    // A box of no window must still reach the user: in front of other
    // programs, and holding up every window of this thread until answered.
    if (!owner) flags |= MB_SETFOREGROUND | MB_TASKMODAL;
    const int answer = MessageBoxW(static_cast<HWND>(owner), text.c_str(), title.c_str(), flags);
    switch (answer) {
        case IDYES: return MsgAnswer::Yes;
        case IDNO: return MsgAnswer::No;
        default: return MsgAnswer::OK;
    }
}

void Win32Platform::ClearClipboard(WindowRef copiedFrom) {
    // Called on every move of the mouse: the clipboard is opened only while it
    // looks like the window's. The owner cannot change while it is open, so it
    // is asked again there: what was copied anywhere else in between stays.
    const HWND window = static_cast<HWND>(copiedFrom);
    if (!window || GetClipboardOwner() != window || !OpenClipboard(nullptr)) return;
    if (GetClipboardOwner() == window) EmptyClipboard();
    CloseClipboard();
}

std::string ToAnsi(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    if (size <= 0) return {};
    std::string ansi(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), ansi.data(), size,
                        nullptr, nullptr);
    return ansi;
}

void Win32Platform::OpenPage(const std::wstring& address) {
    // The result is not examined: the shell shows its own complaint, if any.
    static const auto shellExecute = SystemFunction<ShellExecuteAFn>(L"shell32.dll", "ShellExecuteA");
    // The shell may hand the address on through COM: the thread enters a
    // single-threaded apartment first, without OLE1 DDE, as the shell asks.
    if (!comEntered_) {
        comEntered_ = true;
        static const auto enter = SystemFunction<CoInitializeExFn>(L"ole32.dll", "CoInitializeEx");
        if (enter) enter(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    }
    if (shellExecute) shellExecute(nullptr, "Open", ToAnsi(address).c_str(), nullptr, "C:\\", SW_SHOWNORMAL);
}

void Win32Platform::EndProcess(unsigned exitCode) { ExitProcess(exitCode); }

std::wstring Win32Platform::AppName() {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return L"annuvia";
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    std::wstring name(path.begin(), path.end());
    if (const std::size_t slash = name.find_last_of(L"\\/"); slash != std::wstring::npos) name.erase(0, slash + 1);
    if (const std::size_t dot = name.rfind(L'.'); dot != std::wstring::npos && dot > 0) name.erase(dot);
    return name;
}

std::wstring SettingsKeyPath(const std::wstring& app, const std::wstring& section) {
    return L"Software\\VB and VBA Program Settings\\" + app + L"\\" + section;
}

std::wstring Win32Platform::GetSetting(const std::wstring& app, const std::wstring& section,
                                       const std::wstring& key) {
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, SettingsKeyPath(app, section).c_str(), 0, KEY_QUERY_VALUE, &handle) !=
        ERROR_SUCCESS)
        return {};
    std::wstring value;
    DWORD type = 0, bytes = 0;
    if (RegQueryValueExW(handle, key.c_str(), nullptr, &type, nullptr, &bytes) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ) && bytes > 0) {
        std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
        DWORD size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        if (RegQueryValueExW(handle, key.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) ==
                ERROR_SUCCESS &&
            (type == REG_SZ || type == REG_EXPAND_SZ)) {
            buffer.resize(size / sizeof(wchar_t));
            value.assign(buffer.begin(), buffer.end());
            while (!value.empty() && value.back() == L'\0') value.pop_back();
        }
    }
    RegCloseKey(handle);
    return value;
}

void Win32Platform::SaveSetting(const std::wstring& app, const std::wstring& section, const std::wstring& key,
                                const std::wstring& value) {
    HKEY handle = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, SettingsKeyPath(app, section).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExW(handle, key.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
}

std::wstring Win32Platform::ShortDateText(CivilDate date) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(date.year);
    st.wMonth = static_cast<WORD>(date.month);
    st.wDay = static_cast<WORD>(date.day);
    wchar_t text[128] = {};
    if (!GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, text, 128)) return {};
    return text;
}

std::optional<CivilDate> Win32Platform::DateFromText(const std::wstring& text) {
    if (text.empty()) return std::nullopt;
    // Nearly every start reads back a date that this program wrote in the
    // last two weeks. Where the short date is plain numbers that can be read
    // back as one day only (see IsPlainNumericShortDate), such a text is
    // matched against those days' texts, which spares loading the date parser.
    const std::wstring calendar = LocaleText(LOCALE_ICALENDARTYPE);
    const std::wstring order = LocaleText(LOCALE_IDATE);
    if ((calendar == L"1" || calendar == L"2") && order.size() == 1 &&
        IsPlainNumericShortDate(LocaleText(LOCALE_SSHORTDATE), order[0] - L'0')) {
        const CivilDate today = Today();
        for (int days = -kRecentDays; days <= kRecentDays; ++days) {
            const CivilDate day = DaysFrom(today, days);
            if (ShortDateText(day) == text) return day;
        }
    }
    static const auto parse = SystemFunction<VarDateFromStrFn>(L"oleaut32.dll", "VarDateFromStr");
    static const auto toSystemTime = SystemFunction<VariantTimeToSystemTimeFn>(L"oleaut32.dll", "VariantTimeToSystemTime");
    if (!parse || !toSystemTime) return std::nullopt;
    DATE value = 0;
    std::wstring copy = text;  // the function takes a non-const string
    if (FAILED(parse(copy.data(), LOCALE_USER_DEFAULT, 0, &value))) return std::nullopt;
    SYSTEMTIME st{};
    // Only the calendar day counts: drop any time of day the text carried.
    if (!toSystemTime(value < 0 ? std::ceil(value) : std::floor(value), &st)) return std::nullopt;
    return CivilDate{st.wYear, st.wMonth, st.wDay};
}

int Win32Platform::AnsiCodeOf(wchar_t c) {
    char bytes[4] = {};
    const int length = WideCharToMultiByte(codePage_, 0, &c, 1, bytes, sizeof bytes, nullptr, nullptr);
    // Characters outside the code page come back as its default character.
    if (length != 1) return '?';
    return static_cast<unsigned char>(bytes[0]);
}

std::optional<wchar_t> Win32Platform::CharOfAnsiCode(int code) {
    if (code < 0 || code > 255) return std::nullopt;
    const char byte = static_cast<char>(code);
    wchar_t c = 0;
    if (MultiByteToWideChar(codePage_, 0, &byte, 1, &c, 1) != 1) return std::nullopt;
    return c;
}

void Win32Platform::SeedRandomFromTimer() {
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    random_.Seed(static_cast<std::uint64_t>(counter.QuadPart) ^ (static_cast<std::uint64_t>(GetTickCount()) << 32));
}

float Win32Platform::NextRandom() { return random_.Next(); }

std::wstring InstanceMarkerName(const std::wstring& appName) {
    // File names are not case-sensitive, so neither is the marker.
    std::wstring name = appName;
    if (!name.empty()) CharLowerBuffW(name.data(), static_cast<DWORD>(name.size()));
    return L"Local\\Annuvia.Instance." + name;
}

bool Win32Platform::AnotherInstanceRunning() {
    if (anotherInstance_) return *anotherInstance_;
    // The mutex lives as long as the process; the next copy to ask finds it.
    instanceMarker_ = CreateMutexW(nullptr, FALSE, InstanceMarkerName(AppName()).c_str());
    const DWORD error = GetLastError();
    anotherInstance_ = instanceMarker_ ? (error == ERROR_ALREADY_EXISTS) : (error == ERROR_ACCESS_DENIED);
    return *anotherInstance_;
}

bool Win32Platform::HighContrast() {
    HIGHCONTRASTW setting{};
    setting.cbSize = sizeof setting;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof setting, &setting, 0) &&
           (setting.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

}  // namespace annuvia
