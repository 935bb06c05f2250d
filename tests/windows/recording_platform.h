#pragma once
// A platform that records what the program asked of it, for in-process tests
// of the real windows.

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/app.h"
#include "platform/platform.h"

namespace annuvia::test {

struct RecordedMessage {
    std::wstring text;
    MsgButtons buttons;
    MsgIcon icon;
    std::wstring title;
};

class RecordingPlatform final : public Platform {
public:
    CivilDate Today() const override { return today; }
    MsgAnswer ShowMessage(const std::wstring& text, MsgButtons buttons, MsgIcon icon,
                          const std::wstring& title) override;
    void ClearClipboard() override { ++clipboardClears; }
    void OpenPage(const std::wstring& address) override { pages.push_back(address); }
    void EndProcess(unsigned exitCode) override { ends.push_back(exitCode); }

    CivilDate today{2026, 12, 8};
    std::vector<RecordedMessage> messages;
    std::deque<MsgAnswer> answers;  // given out in order; OK when empty
    std::function<void()> onMessage;  // runs while the "box" is up
    int clipboardClears = 0;
    std::vector<std::wstring> pages;
    std::vector<unsigned> ends;
};

// Dispatches every queued message, the way the program's loop would.
void Pump(App& app);
// Sends a keyboard message through the program's dialog handling.
void Key(App& app, HWND target, UINT msg, WPARAM key, LPARAM lp = 0);
void Type(HWND edit, const std::wstring& text);
void Click(HWND button);
std::wstring Text(HWND hwnd);
std::wstring ListText(HWND list);
// Puts text on the real system clipboard, as another program would.
bool PutClipboardText(const std::wstring& text);

}  // namespace annuvia::test
