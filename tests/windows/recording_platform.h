#pragma once
// In-process tests of the real windows: the recording platform and helpers
// that drive controls the way the program's loop would.

#include <windows.h>

#include <string>

#include "app/app.h"
#include "support/fake_platform.h"

namespace annuvia::test {

using RecordingPlatform = FakePlatform;

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
