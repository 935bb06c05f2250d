#pragma once
#include "platform/platform.h"

namespace annuvia {

// The real platform: user32 message boxes, the system clipboard, ShellExecuteA,
// the local clock and ExitProcess.
class Win32Platform final : public Platform {
public:
    CivilDate Today() const override;
    MsgAnswer ShowMessage(const std::wstring& text, MsgButtons buttons, MsgIcon icon,
                          const std::wstring& title) override;
    void ClearClipboard() override;
    void OpenPage(const std::wstring& address) override;
    void EndProcess(unsigned exitCode) override;
};

// The address in the system's ANSI code page, as the shell's ANSI entry point takes it.
std::string ToAnsi(const std::wstring& text);

}  // namespace annuvia
