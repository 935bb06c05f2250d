#pragma once
// In-process tests of the real windows: the recording platform and helpers
// that drive controls the way the program's loop would.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/app.h"
#include "forms/window_text.h"
#include "support/fake_platform.h"

namespace annuvia::test {

using RecordingPlatform = FakePlatform;

// Dispatches every queued message, the way the program's loop would.
void Pump(App& app);
// Sends a keyboard message through the program's dialog handling.
void Key(App& app, HWND target, UINT msg, WPARAM key, LPARAM lp = 0);
void Type(HWND edit, const std::wstring& text);
void Click(HWND button);
// Types a first and a last name into the main window and presses Next.
void FillAndNext(App& app);
std::wstring ListText(HWND list);
// Puts text on the real system clipboard, as another program would: as the
// owner window's, or with none (a program that opened it without a window).
bool PutClipboardText(const std::wstring& text, HWND owner = nullptr);
// The pixels (0x00RRGGBB, rows from the top) of a picture of a window's client
// area size, which paint draws into a memory device context.
std::vector<DWORD> Pixels(HWND window, const std::function<void(HDC)>& paint);

}  // namespace annuvia::test
