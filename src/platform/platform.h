#pragma once
// The seam between the program and the platform: message boxes, the shell,
// the clipboard, the clock and the end of the process. The product uses the
// Win32 implementation; in-process tests record what the program asked for.
// Portable: no <windows.h>.

#include <string>

#include "platform/clock.h"

namespace annuvia {

inline constexpr wchar_t kAppTitle[] = L"Annuvia";
inline constexpr wchar_t kWindowTitle[] = L"Annuvia v1.45";

enum class MsgButtons { OK, YesNo };
enum class MsgIcon { Information, Critical };
enum class MsgAnswer { OK, Yes, No };

class Platform : public Clock {
public:
    // A modal message box; a box that names no title carries the application title.
    virtual MsgAnswer ShowMessage(const std::wstring& text, MsgButtons buttons, MsgIcon icon,
                                  const std::wstring& title = kAppTitle) = 0;
    virtual void ClearClipboard() = 0;
    // The shell's "Open" of a page address in the default browser.
    virtual void OpenPage(const std::wstring& address) = 0;
    // Ends the process at once. In tests it returns, and the program must act
    // as if nothing after it ran.
    virtual void EndProcess(unsigned exitCode) = 0;
};

}  // namespace annuvia
