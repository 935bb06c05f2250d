// What the program meets around it in the tests: the environment CTest
// sets, Unix paths seen from Wine, the browser command and the settings store
// of the Wine prefix.

#include <fstream>
#include <sstream>

#include "e2e/driver.h"

namespace e2e {

std::wstring Environment(const wchar_t* name) {
    const DWORD needed = GetEnvironmentVariableW(name, nullptr, 0);
    if (needed <= 1) return {};
    std::wstring value(needed, L'\0');
    value.resize(GetEnvironmentVariableW(name, value.data(), needed));
    return value;
}

std::wstring WindowsPathOf(std::wstring path) {
    if (path.empty() || path[0] != L'/') return path;
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    return L"Z:" + path;
}

namespace {

constexpr wchar_t kSettingsRoot[] = L"Software\\VB and VBA Program Settings\\";

std::wstring Shift(const std::wstring& text, int delta) {
    std::wstring shifted;
    for (wchar_t c : text) {
        char byte = 0;
        if (WideCharToMultiByte(CP_ACP, 0, &c, 1, &byte, 1, nullptr, nullptr) != 1) continue;
        const int code = static_cast<unsigned char>(byte) + delta;
        if (code < 0 || code > 255) continue;
        const char moved = static_cast<char>(code);
        wchar_t out = 0;
        if (MultiByteToWideChar(CP_ACP, 0, &moved, 1, &out, 1) == 1) shifted.push_back(out);
    }
    return shifted;
}

}  // namespace

bool BrowserRecorder::Install(std::wstring* error) {
    const std::wstring script = Environment(L"ANNUVIA_BROWSER_RECORDER");
    const std::wstring folder = Environment(L"ANNUVIA_BROWSER_LOG_DIR");
    if (script.empty() || folder.empty()) {
        if (error) *error = L"ANNUVIA_BROWSER_RECORDER and ANNUVIA_BROWSER_LOG_DIR must be set";
        return false;
    }
    // Wine's processes pass their Unix environment on to the command, so the
    // log is the one that CTest names; a new recorder starts it afresh.
    CreateDirectoryW(WindowsPathOf(folder).c_str(), nullptr);
    logWindowsPath_ = WindowsPathOf(folder + L"/browser.log");
    DeleteFileW(logWindowsPath_.c_str());
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\WineBrowser", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        if (error) *error = L"cannot write Wine's browser setting";
        return false;
    }
    RegSetValueExW(key, L"Browsers", 0, REG_SZ, reinterpret_cast<const BYTE*>(script.c_str()),
                   static_cast<DWORD>((script.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return true;
}

std::vector<std::string> BrowserRecorder::Addresses() const {
    std::vector<std::string> lines;
    std::ifstream file(logWindowsPath_.c_str());
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
}

bool BrowserRecorder::WaitForCount(std::size_t count, DWORD timeoutMs) const {
    return WaitUntil([&] { return Addresses().size() >= count; }, timeoutMs);
}

std::wstring EncodeForSettings(const std::wstring& text) { return Shift(text, 85); }
std::wstring DecodeFromSettings(const std::wstring& text) { return Shift(text, -85); }

bool SetStoredReminder(const std::wstring& app, const std::wstring& decoded) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, (kSettingsRoot + app + L"\\Settings").c_str(), 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    const std::wstring value = EncodeForSettings(decoded);
    const LONG status = RegSetValueExW(key, EncodeForSettings(L"Duration").c_str(), 0, REG_SZ,
                                       reinterpret_cast<const BYTE*>(value.c_str()),
                                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

std::optional<std::wstring> StoredReminder(const std::wstring& app) {
    wchar_t value[256] = {};
    DWORD bytes = sizeof value - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CURRENT_USER, (kSettingsRoot + app + L"\\Settings").c_str(),
                     EncodeForSettings(L"Duration").c_str(), RRF_RT_REG_SZ, nullptr, value, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    return DecodeFromSettings(value);
}

void DeleteSettings(const std::wstring& app) { RegDeleteTreeW(HKEY_CURRENT_USER, (kSettingsRoot + app).c_str()); }

std::wstring ShortDateFromToday(int days) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    FILETIME file{};
    SystemTimeToFileTime(&now, &file);
    ULARGE_INTEGER ticks{};
    ticks.LowPart = file.dwLowDateTime;
    ticks.HighPart = file.dwHighDateTime;
    ticks.QuadPart += static_cast<ULONGLONG>(static_cast<LONGLONG>(days) * 864000000000LL);
    file.dwLowDateTime = ticks.LowPart;
    file.dwHighDateTime = ticks.HighPart;
    SYSTEMTIME then{};
    FileTimeToSystemTime(&file, &then);
    wchar_t text[64] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &then, nullptr, text, 64);
    return text;
}

bool HasButton(HWND box, int id) { return GetDlgItem(box, id) != nullptr; }

int DefaultButton(HWND box) {
    // The default push button carries the default style (and the focus).
    for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO}) {
        HWND button = GetDlgItem(box, id);
        if (button && (GetWindowLongW(button, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON) return id;
    }
    return 0;
}

bool PressButton(HWND box, int id, DWORD timeoutMs) {
    return PostClick(GetDlgItem(box, id)) && WaitUntil([&] { return !IsWindow(box); }, timeoutMs);
}

}  // namespace e2e
