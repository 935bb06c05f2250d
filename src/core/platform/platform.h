#pragma once
// The seam between the program and the platform: message boxes, the shell,
// the clipboard, the clock and its date texts, the settings store, the ANSI
// code page, random numbers, the instance guard and the end of the process.
// The product uses the Win32 implementation; in-process tests record what the
// program asked for. Portable: no <windows.h>.

#include <optional>
#include <string>

#include "core/platform/clock.h"
#include "core/version.h"

namespace annuvia {

inline constexpr wchar_t kAppTitle[] = L"Annuvia";
inline constexpr wchar_t kWindowTitle[] = L"Annuvia v" ANNUVIA_VERSION_TEXT;

enum class MsgButtons { OK, YesNo };
enum class MsgIcon { Information, Critical };
enum class MsgAnswer { OK, Yes, No };

// A window of the program as the seam sees it (an HWND on Windows); null for none.
using WindowRef = void*;

class Platform : public Clock {
public:
    // A modal message box owned by owner (modal to it), or by no window: then
    // it comes up in front of other programs with a taskbar entry of its own.
    // A box that names no title carries the application title.
    virtual MsgAnswer ShowMessage(WindowRef owner, const std::wstring& text, MsgButtons buttons,
                                  MsgIcon icon, const std::wstring& title = kAppTitle) = 0;
    // Empties the clipboard while it holds what was copied out of the given
    // window (its owner is that window); whatever was copied anywhere else, in
    // this program or another, is never touched.
    virtual void ClearClipboard(WindowRef copiedFrom) = 0;
    // The shell's "Open" of a page address in the default browser.
    virtual void OpenPage(const std::wstring& address) = 0;
    // Ends the process at once. In tests it returns, and the program must act
    // as if nothing after it ran.
    virtual void EndProcess(unsigned exitCode) = 0;

    // The per-user settings store, addressed by application, section and key.
    // The application name is the executable's file name without extension.
    virtual std::wstring AppName() = 0;
    // The stored text, or empty when there is none (or it is not text).
    virtual std::wstring GetSetting(const std::wstring& app, const std::wstring& section,
                                    const std::wstring& key) = 0;
    virtual void SaveSetting(const std::wstring& app, const std::wstring& section,
                             const std::wstring& key, const std::wstring& value) = 0;

    // A date in the user's short date format, and such a text read back under
    // the regional settings of now; nothing when the text is not a date.
    virtual std::wstring ShortDateText(CivilDate date) = 0;
    virtual std::optional<CivilDate> DateFromText(const std::wstring& text) = 0;

    // The character's code in the system's ANSI code page, and the character of
    // a code; nothing when the code is no character of that code page.
    virtual int AnsiCodeOf(wchar_t c) = 0;
    virtual std::optional<wchar_t> CharOfAnsiCode(int code) = 0;

    // The process's one random-number generator: seeded from the system timer,
    // uniform single-precision values with 0 <= r < 1.
    virtual void SeedRandomFromTimer() = 0;
    virtual float NextRandom() = 0;

    // True when another copy of this executable already runs in this session.
    // The first call decides; the answer holds for the life of the process.
    virtual bool AnotherInstanceRunning() = 0;

    // Whether the user asked for the system's colours everywhere (a high-contrast theme).
    virtual bool HighContrast() = 0;
};

}  // namespace annuvia
