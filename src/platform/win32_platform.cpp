#include "platform/win32_platform.h"

#include <windows.h>
#include <shellapi.h>

namespace annuvia {

CivilDate Win32Platform::Today() const {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return CivilDate{now.wYear, now.wMonth, now.wDay};
}

MsgAnswer Win32Platform::ShowMessage(const std::wstring& text, MsgButtons buttons, MsgIcon icon,
                                     const std::wstring& title) {
    UINT flags = (buttons == MsgButtons::YesNo) ? MB_YESNO : MB_OK;
    flags |= (icon == MsgIcon::Critical) ? MB_ICONSTOP : MB_ICONINFORMATION;
    // Owned by the active window, so the box is modal to the window that asked.
    const int answer = MessageBoxW(GetActiveWindow(), text.c_str(), title.c_str(), flags);
    switch (answer) {
        case IDYES: return MsgAnswer::Yes;
        case IDNO: return MsgAnswer::No;
        default: return MsgAnswer::OK;
    }
}

void Win32Platform::ClearClipboard() {
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
}

std::string ToAnsi(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), ansi.data(), size,
                        nullptr, nullptr);
    return ansi;
}

void Win32Platform::OpenPage(const std::wstring& address) {
    // The result is not examined: the shell shows its own complaint, if any.
    ShellExecuteA(nullptr, "Open", ToAnsi(address).c_str(), nullptr, "C:\\", SW_SHOWNORMAL);
}

void Win32Platform::EndProcess(unsigned exitCode) { ExitProcess(exitCode); }

}  // namespace annuvia
