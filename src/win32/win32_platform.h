#pragma once
#include <windows.h>

#include <string_view>

#include "core/platform/platform.h"
#include "core/platform/random.h"

namespace annuvia {

// The real platform: user32 message boxes, the system clipboard, ShellExecuteA,
// the local clock and regional date formats, the per-user registry, the ANSI
// code page, a named mutex as the instance guard, and ExitProcess.
class Win32Platform final : public Platform {
public:
    Win32Platform();
    ~Win32Platform() override;
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    CivilDate Today() const override;
    MsgAnswer ShowMessage(WindowRef owner, const std::wstring& text, MsgButtons buttons, MsgIcon icon,
                          const std::wstring& title) override;
    void ClearClipboard(WindowRef copiedFrom) override;
    void OpenPage(const std::wstring& address) override;
    void EndProcess(unsigned exitCode) override;
    std::wstring AppName() override;
    std::wstring GetSetting(const std::wstring& app, const std::wstring& section,
                            const std::wstring& key) override;
    void SaveSetting(const std::wstring& app, const std::wstring& section, const std::wstring& key,
                     const std::wstring& value) override;
    std::wstring ShortDateText(CivilDate date) override;
    std::optional<CivilDate> DateFromText(const std::wstring& text) override;
    int AnsiCodeOf(wchar_t c) override;
    std::optional<wchar_t> CharOfAnsiCode(int code) override;
    void SeedRandomFromTimer() override;
    float NextRandom() override;
    bool AnotherInstanceRunning() override;
    bool HighContrast() override;

private:
    UINT codePage_;
    RandomGenerator random_;
    HANDLE instanceMarker_ = nullptr;
    std::optional<bool> anotherInstance_;
    bool comEntered_ = false;
};

// The address in the system's ANSI code page, as the shell's ANSI entry point takes it.
std::string ToAnsi(const std::wstring& text);

// The registry key of a section: Software\VB and VBA Program Settings\<app>\<section>
// under HKEY_CURRENT_USER, where such programs have always kept their settings.
std::wstring SettingsKeyPath(const std::wstring& app, const std::wstring& section);

// Whether a short date picture (LOCALE_SSHORTDATE) writes a date as day,
// month and four-digit year in plain numbers with one separator, in the order
// in which the regional settings read three numbers (LOCALE_IDATE: 0 month
// first, 1 day first, 2 year first): its texts then read back as one day only.
bool IsPlainNumericShortDate(std::wstring_view picture, int order);

// The name of the instance guard's mutex for an executable's name.
std::wstring InstanceMarkerName(const std::wstring& appName);

}  // namespace annuvia
