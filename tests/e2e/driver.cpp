#include "e2e/driver.h"

#include <tlhelp32.h>

namespace e2e {

namespace {

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

bool SendWithTimeout(HWND window, UINT msg, WPARAM wp, LPARAM lp, DWORD timeoutMs, DWORD_PTR* result) {
    DWORD_PTR value = 0;
    const LRESULT ok = SendMessageTimeoutW(window, msg, wp, lp, SMTO_ABORTIFHUNG, timeoutMs, &value);
    if (result) *result = value;
    return ok != 0;
}

struct TopSearch {
    const wchar_t* className;
    const wchar_t* title;
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTop(HWND window, LPARAM lp) {
    auto& search = *reinterpret_cast<TopSearch*>(lp);
    if (!IsWindowVisible(window)) return TRUE;
    if (search.pid && ProcessOf(window) != search.pid) return TRUE;
    if (search.className && ClassOf(window) != search.className) return TRUE;
    if (search.title && ReadText(window, 2000) != search.title) return TRUE;
    search.found.push_back(window);
    return TRUE;
}

struct ControlSearch {
    int id;
    HWND found;
};

BOOL CALLBACK MatchControl(HWND window, LPARAM lp) {
    auto& search = *reinterpret_cast<ControlSearch*>(lp);
    if (GetDlgCtrlID(window) != search.id) return TRUE;
    search.found = window;
    return FALSE;
}

}  // namespace

bool AnyProcessNamed(std::wstring_view exeName) {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry))
        found = CompareStringOrdinal(entry.szExeFile, -1, exeName.data(), static_cast<int>(exeName.size()), TRUE) ==
                CSTR_EQUAL;
    CloseHandle(snapshot);
    return found;
}

std::string Narrow(std::wstring_view text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(), size, nullptr,
                        nullptr);
    return narrow;
}

DWORD ProcessOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

std::vector<HWND> TopWindows(const wchar_t* className, const wchar_t* title, DWORD pid) {
    TopSearch search{className, title, pid, {}};
    EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> VisibleWindowsOf(DWORD pid) { return TopWindows(nullptr, nullptr, pid); }

HWND FindTopWindow(const wchar_t* className, const wchar_t* title, DWORD pid) {
    const std::vector<HWND> found = TopWindows(className, title, pid);
    return found.empty() ? nullptr : found.front();
}

HWND WaitForTopWindow(const wchar_t* className, const wchar_t* title, DWORD pid, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopWindow(className, title, pid)) != nullptr; }, timeoutMs);
    return found;
}

bool WaitUntilGone(HWND window, DWORD timeoutMs) {
    return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeoutMs);
}

bool WaitUntilIdle(HWND window, DWORD timeoutMs) {
    // A round trip through the window's thread, then its input-idle state,
    // which it reaches only with its queue empty and its painting done.
    if (!SendWithTimeout(window, WM_NULL, 0, 0, timeoutMs, nullptr)) return false;
    if (HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, ProcessOf(window))) {
        const DWORD idle = WaitForInputIdle(process, timeoutMs);
        CloseHandle(process);
        if (idle == WAIT_TIMEOUT) return false;
    }
    Sleep(50);
    return SendWithTimeout(window, WM_NULL, 0, 0, timeoutMs, nullptr);
}

HWND FindControl(HWND parent, int id) {
    // EnumChildWindows walks every descendant, the controls inside frames included.
    ControlSearch search{id, nullptr};
    EnumChildWindows(parent, MatchControl, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring ReadText(HWND window, DWORD timeoutMs) {
    // GetWindowTextW does not ask another process's controls for their text; WM_GETTEXT does.
    DWORD_PTR length = 0;
    if (!SendWithTimeout(window, WM_GETTEXTLENGTH, 0, 0, timeoutMs, &length)) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendWithTimeout(window, WM_GETTEXT, static_cast<WPARAM>(text.size()), reinterpret_cast<LPARAM>(text.data()),
                         timeoutMs, &copied))
        return {};
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

bool TypeText(HWND edit, std::wstring_view text, DWORD timeoutMs) {
    for (wchar_t c : text) {
        if (!SendWithTimeout(edit, WM_CHAR, static_cast<WPARAM>(c), 1, timeoutMs, nullptr)) return false;
    }
    return true;
}

bool ChooseEntry(HWND combo, const wchar_t* text, DWORD timeoutMs) {
    // Exact match: a prefix search for "1" might as well stop at "10".
    DWORD_PTR index = 0;
    if (!SendWithTimeout(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text),
                         timeoutMs, &index))
        return false;
    if (static_cast<LRESULT>(index) == CB_ERR) return false;
    DWORD_PTR chosen = 0;
    if (!SendWithTimeout(combo, CB_SETCURSEL, index, 0, timeoutMs, &chosen)) return false;
    return chosen == index && ReadText(combo, timeoutMs) == text;
}

bool PostClick(HWND button) { return button && PostMessageW(button, BM_CLICK, 0, 0); }

HWND FindMessageBox(DWORD pid) { return FindTopWindow(kMessageBoxClass, kMessageBoxTitle, pid); }

HWND WaitForMessageBox(DWORD pid, DWORD timeoutMs) {
    return WaitForTopWindow(kMessageBoxClass, kMessageBoxTitle, pid, timeoutMs);
}

std::wstring MessageBoxText(HWND box) {
    HWND text = GetDlgItem(box, kMessageBoxTextId);
    return text ? ReadText(text) : std::wstring{};
}

bool PressOk(HWND box, DWORD timeoutMs) {
    return PostClick(GetDlgItem(box, IDOK)) && WaitUntil([&] { return !IsWindow(box); }, timeoutMs);
}

std::wstring AnnuviaExePath() {
    if (std::wstring named = Environment(L"ANNUVIA_EXE"); !named.empty()) return named;
    std::wstring self(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size()));
        if (length == 0) return {};
        if (length < self.size()) {
            self.resize(length);
            break;
        }
        self.resize(self.size() * 2);
    }
    const std::size_t slash = self.find_last_of(L"\\/");
    const std::wstring relative =
        (slash == std::wstring::npos ? std::wstring{L"."} : self.substr(0, slash)) + L"\\..\\src\\annuvia.exe";
    wchar_t full[MAX_PATH * 2] = {};
    const DWORD length = GetFullPathNameW(relative.c_str(), MAX_PATH * 2, full, nullptr);
    return (length > 0 && length < MAX_PATH * 2) ? std::wstring{full} : relative;
}

ProgramRun::~ProgramRun() {
    if (Running()) {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    Close();
}

void ProgramRun::Close() {
    if (info_.hThread) CloseHandle(info_.hThread);
    if (info_.hProcess) CloseHandle(info_.hProcess);
    info_ = {};
}

bool StartExe(const std::wstring& path, PROCESS_INFORMATION& info, const std::function<void()>& beforeAttempt) {
    std::wstring commandLine = L"\"" + path + L"\"";
    const std::wstring directory = path.substr(0, path.find_last_of(L"\\/") + 1);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    for (int attempt = 1;; ++attempt) {
        if (beforeAttempt) beforeAttempt();
        if (CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           directory.empty() ? nullptr : directory.c_str(), &startup, &info))
            return true;
        const DWORD error = GetLastError();
        if (attempt == 3 || error != ERROR_INTERNAL_ERROR) {
            SetLastError(error);
            return false;
        }
        Sleep(500);
    }
}

bool ProgramRun::Start(const std::wstring& exe) {
    const std::wstring path = exe.empty() ? AnnuviaExePath() : exe;
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        error_ = L"no program at " + path;
        return false;
    }
    Close();
    exitCode_ = STILL_ACTIVE;
    if (!StartExe(path, info_)) {
        error_ = L"could not start " + path + L", error " + std::to_wstring(GetLastError());
        info_ = {};
        return false;
    }
    error_.clear();
    return true;
}

bool ProgramRun::Running() const {
    return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

bool ProgramRun::WaitForExit(DWORD timeoutMs) {
    if (!info_.hProcess) {
        error_ = L"the program was not started";
        return false;
    }
    if (WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 5000);
        GetExitCodeProcess(info_.hProcess, &exitCode_);
        error_ = L"the program did not end within " + std::to_wstring(timeoutMs) + L" ms and was terminated";
        return false;
    }
    GetExitCodeProcess(info_.hProcess, &exitCode_);
    return true;
}

}  // namespace e2e
