#pragma once
// A desktop larger than the tests' screen, for tests of the windows at high
// DPIs: at 144 DPI and above the exit screen is wider than 1024 pixels, and on
// a smaller desktop the system cuts a window down to the desktop's size. Wine
// makes a new desktop as big as HKCU\Software\Wine\Explorer\Desktops names for
// it. One process must keep to one desktop under Wine (its X windows hang on
// that desktop's), so the test program runs again inside the new desktop with
// only the tests that need it; programs it starts run there too.

#include <windows.h>

#include <string>

namespace annuvia::test {

inline constexpr wchar_t kWideDesktopVariable[] = L"ANNUVIA_WIDE_DESKTOP";

// Whether this run is the one inside the wide desktop.
inline bool InWideDesktop() { return GetEnvironmentVariableW(kWideDesktopVariable, nullptr, 0) > 0; }

// Inside: whether the desktop has the size asked for.
inline bool DesktopIsAtLeast(int width, int height) {
    return GetSystemMetrics(SM_CXVIRTUALSCREEN) >= width && GetSystemMetrics(SM_CYVIRTUALSCREEN) >= height;
}

// Runs this program again in a desktop of width x height with the tests that
// filter names, its output going where this program's goes; returns its exit
// code, or -1 with error said.
inline int RunAgainInWideDesktop(const wchar_t* name, int width, int height, const std::wstring& filter,
                                 DWORD timeoutMs, std::wstring& error) {
    constexpr wchar_t kSizes[] = L"Software\\Wine\\Explorer\\Desktops";
    const std::wstring size = std::to_wstring(width) + L"x" + std::to_wstring(height);
    if (RegSetKeyValueW(HKEY_CURRENT_USER, kSizes, name, REG_SZ, size.c_str(),
                        static_cast<DWORD>((size.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS) {
        error = L"cannot name the desktop's size";
        return -1;
    }
    HDESK desktop = CreateDesktopW(name, nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\" --gtest_filter=" + filter;
    std::wstring desktopName = name;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.lpDesktop = desktopName.data();
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    SetEnvironmentVariableW(kWideDesktopVariable, name);
    const BOOL started = CreateProcessW(self, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                        &startup, &process);
    SetEnvironmentVariableW(kWideDesktopVariable, nullptr);
    int code = -1;
    if (!started) {
        error = L"cannot start the test program again, error " + std::to_wstring(GetLastError());
    } else if (WaitForSingleObject(process.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
        error = L"the run in the wide desktop did not end within " + std::to_wstring(timeoutMs) + L" ms";
    } else {
        DWORD exitCode = 1;
        GetExitCodeProcess(process.hProcess, &exitCode);
        code = static_cast<int>(exitCode);
        if (code != 0) error = L"the run in the wide desktop failed, exit code " + std::to_wstring(code);
    }
    if (started) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    if (desktop) CloseDesktop(desktop);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kSizes, name);
    return code;
}

}  // namespace annuvia::test
