#pragma once
// Drives the real annuvia.exe from another process: finds its windows and
// controls, types, chooses, clicks and reads them back. Every wait has a
// timeout and reports failure instead of hanging. Calls into the program's
// windows go through SendMessageTimeout, so a hung program fails a wait
// rather than the caller.

#include <windows.h>

#include <optional>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/version.h"
#include "windows/frmAbout/frmAbout_ids.h"
#include "windows/frmMain/frmMain_ids.h"
#include "windows/frmNagScreen2/frmNagScreen2_ids.h"
#include "windows/frmPersonalYear/frmPersonalYear_ids.h"

namespace e2e {

// Generous for a first start under Wine; a wait normally ends far sooner.
inline constexpr DWORD kTimeoutMs = 15000;

// Window classes and texts of the program.
inline constexpr wchar_t kMainClass[] = L"Annuvia_frmMain";
inline constexpr wchar_t kResultClass[] = L"Annuvia_frmPersonalYear";
inline constexpr wchar_t kExitClass[] = L"Annuvia_frmNagScreen2";
inline constexpr wchar_t kAboutClass[] = L"Annuvia_frmAbout";
inline constexpr wchar_t kWindowTitle[] = L"Annuvia v" ANNUVIA_VERSION_TEXT;
inline constexpr wchar_t kMessageBoxClass[] = L"#32770";
inline constexpr wchar_t kMessageBoxTitle[] = L"Annuvia";
inline constexpr int kMessageBoxTextId = 0xFFFF;

// The program's own control ids: the main window's as ids::txtFirstName, the
// other windows' as ids::Result::cmdback, ids::About::cmdOK, ids::Exit::cmdClose.
namespace ids {
using enum annuvia::frmMainIds::Id;
using Result = annuvia::frmPersonalYearIds;
using About = annuvia::frmAboutIds;
using Exit = annuvia::frmNagScreen2Ids;
}  // namespace ids

// Calls ready() every few milliseconds until it returns true or timeoutMs
// passes; returns whether it did. Messages of the calling thread are pumped.
template <typename Ready>
bool WaitUntil(Ready&& ready, DWORD timeoutMs = kTimeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        if (ready()) return true;
        if (GetTickCount64() >= end) return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(20);
    }
}

// Visible top-level windows of a class and, when given, a title; pid 0 means any process.
std::vector<HWND> TopWindows(const wchar_t* className, const wchar_t* title = nullptr, DWORD pid = 0);
// All visible top-level windows of one process.
std::vector<HWND> VisibleWindowsOf(DWORD pid);
// The first such window, or nullptr.
HWND FindTopWindow(const wchar_t* className, const wchar_t* title = nullptr, DWORD pid = 0);
HWND WaitForTopWindow(const wchar_t* className, const wchar_t* title = nullptr, DWORD pid = 0,
                      DWORD timeoutMs = kTimeoutMs);
// Waits until the window is destroyed or hidden.
bool WaitUntilGone(HWND window, DWORD timeoutMs = kTimeoutMs);
DWORD ProcessOf(HWND window);
// Whether a process of that executable name (say L"winebrowser.exe") is running.
bool AnyProcessNamed(std::wstring_view exeName);

// Returns once the window's thread has handled everything sent before and is
// waiting for input again, its pending painting included.
bool WaitUntilIdle(HWND window, DWORD timeoutMs = kTimeoutMs);

// A descendant of parent with the control id, searched through nested containers.
HWND FindControl(HWND parent, int id);

// Window text through WM_GETTEXT; a drop-down list gives its chosen entry.
std::wstring ReadText(HWND window, DWORD timeoutMs = kTimeoutMs);
// Sends each character as WM_CHAR, as the keyboard would after translation.
bool TypeText(HWND edit, std::wstring_view text, DWORD timeoutMs = kTimeoutMs);
// Chooses the entry whose text is exactly text; false when there is none.
bool ChooseEntry(HWND combo, const wchar_t* text, DWORD timeoutMs = kTimeoutMs);
// Posts a click, so a modal box opened by the click does not block the caller.
bool PostClick(HWND button);

// A message box of the program: "#32770" titled "Annuvia", of process pid (0: any).
HWND FindMessageBox(DWORD pid);
HWND WaitForMessageBox(DWORD pid, DWORD timeoutMs = kTimeoutMs);
std::wstring MessageBoxText(HWND box);
// Clicks the box's OK and waits for the box to go.
bool PressOk(HWND box, DWORD timeoutMs = kTimeoutMs);

// Where annuvia.exe is: the ANNUVIA_EXE environment variable, or else
// ..\src\annuvia.exe beside the directory of the running program.
std::wstring AnnuviaExePath();
// CreateProcessW of an exe, in its own folder, with its quoted path as the
// command line. Wine now and then refuses a start for a moment (an internal
// error): such a start is tried again, twice at most. beforeAttempt runs just
// before each try (a timer's start, say). False: GetLastError tells why.
bool StartExe(const std::wstring& path, PROCESS_INFORMATION& info,
              const std::function<void()>& beforeAttempt = {});

// One run of the program. The destructor ends a run that is still going.
class ProgramRun {
public:
    ProgramRun() = default;
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    // Starts exe (AnnuviaExePath() when empty); on failure error() says why.
    bool Start(const std::wstring& exe = {});
    // Waits for the end of the process; on timeout ends it and returns false.
    bool WaitForExit(DWORD timeoutMs = kTimeoutMs);
    bool Running() const;
    DWORD Pid() const { return info_.dwProcessId; }
    DWORD ExitCode() const { return exitCode_; }
    const std::wstring& Error() const { return error_; }

private:
    void Close();

    PROCESS_INFORMATION info_{};
    DWORD exitCode_ = STILL_ACTIVE;
    std::wstring error_;
};

// An environment variable's value; empty when it is not set.
std::wstring Environment(const wchar_t* name);
// A Unix path as Wine shows it, under drive Z:; any other path as it is.
std::wstring WindowsPathOf(std::wstring path);

// UTF-8 for messages on the console and in test output.
std::string Narrow(std::wstring_view text);

// The browser stand-in. Install() points Wine's browser setting
// (HKCU\Software\Wine\WineBrowser, Browsers) at record-browser.sh and starts
// its log afresh; Addresses() reads what the programs opened since.
// CTest names the script and the log folder (ANNUVIA_BROWSER_RECORDER,
// ANNUVIA_BROWSER_LOG_DIR, Unix paths).
class BrowserRecorder {
public:
    bool Install(std::wstring* error = nullptr);
    std::vector<std::string> Addresses() const;
    // Waits until at least count addresses are recorded.
    bool WaitForCount(std::size_t count, DWORD timeoutMs = kTimeoutMs) const;

private:
    std::wstring logWindowsPath_;
};

// The reminder date as the program keeps it: HKCU\Software\VB and VBA Program
// Settings\<app>\Settings, a string value under the encoded key "Duration",
// each character's code in the ANSI code page moved up by 85.
std::wstring EncodeForSettings(const std::wstring& text);
std::wstring DecodeFromSettings(const std::wstring& text);
bool SetStoredReminder(const std::wstring& app, const std::wstring& decoded);
std::optional<std::wstring> StoredReminder(const std::wstring& app);  // decoded; nothing when absent
void DeleteSettings(const std::wstring& app);
// Today moved by a number of days, in the user's short date format.
std::wstring ShortDateFromToday(int days);

// Buttons of a message box (IDOK, IDYES, ...) and its default button.
bool HasButton(HWND box, int id);
int DefaultButton(HWND box);
// Clicks a button of the box and waits for the box to go.
bool PressButton(HWND box, int id, DWORD timeoutMs = kTimeoutMs);

}  // namespace e2e
