#pragma once
// The start-up window: loaded first, never shown, unloaded only at the end.
// Its load is the program's start-up sequence. It owns the program icon as
// an image list and the banner rotation's last draw.

#include <windows.h>
#include <commctrl.h>

#include <cstdint>

#include "core/platform/platform.h"
#include "forms/form.h"
#include "windows/program.h"

namespace annuvia {

inline constexpr wchar_t kAlreadyRunning[] = L"Application is already running";
// The image list's mask colour: pixels of this colour are transparent.
inline constexpr COLORREF kIconMaskColour = RGB(192, 192, 192);

class frmNagScreen final : public Form {
public:
    frmNagScreen(FormRegistry& forms, Platform& platform, Program& program);
    ~frmNagScreen() override;

    // The program icon at its size for the window's DPI (32 x 32 at 96 DPI), as
    // image 1 (index 0) of an image list; made on first use.
    HIMAGELIST IMGIcon();

    // Brings one of the main window's two banners to the front, or neither.
    void CoBrand_Randomize();
    std::int16_t intCoBrandRandomNumber = 0;

private:
    void Form_Load() override;
    void Form_Unload() override;

    Platform& platform_;
    Program& program_;
    HIMAGELIST imgIcon_ = nullptr;
};

}  // namespace annuvia
