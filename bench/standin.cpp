// The floor of the main window's design: the same window built plainly from
// frmMain's own design (its class with the program icon, size, colour, menu
// and control table: the same classes, styles, fonts and texts), after the
// same hidden start-up window, with the focus in the first name box. No form
// base: no subclassed controls, no event table, no text fitting and no
// filled lists; it paints in the designed colours and takes Tab as the
// program does. What annuvia.exe takes beyond this is the price of its
// form base and of its loading.

#include <windows.h>
#include <commctrl.h>

#include "forms/control_kinds.h"
#include "forms/program_icon.h"
#include "message_loop.h"
#include "win32/bench_marks.h"
#include "windows/frmMain/frmMain.h"

namespace {

using annuvia::frmMain;

constexpr wchar_t kStartupClass[] = L"AnnuviaBenchStandInStartup";
annuvia::Palette palette;
annuvia::PlacedControls controls;

LRESULT CALLBACK StandInProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    // Its controls' colours and painting, as their kinds answer them.
    LRESULT result = 0;
    if (annuvia::MessageAboutControl(controls, palette, msg, wp, lp, &result)) return result;
    switch (msg) {
        case WM_ERASEBKGND:
            palette.FillWindow(hwnd, reinterpret_cast<HDC>(wp), frmMain::kDesign.backColor);
            return 1;
        case WM_ACTIVATE:
            if (LOWORD(wp) != WA_INACTIVE && !HIWORD(wp)) {
                SetFocus(controls[frmMain::txtFirstName].hwnd);
                ANNUVIA_MARK("focus set", frmMain::kDesign.className);
            }
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

HWND MakeWindow(const wchar_t* className, SIZE twips, bool minButton, HMENU menu) {
    const UINT dpi = annuvia::DpiOfWindow(nullptr);
    const DWORD style = annuvia::FormStyle(minButton);
    const SIZE size = annuvia::FrameSize(twips, style, menu != nullptr, dpi);
    const POINT place = annuvia::CentredOnPrimaryScreen(size);
    return CreateWindowExW(annuvia::kFormExStyle, className, frmMain::kDesign.caption, style, place.x, place.y,
                           size.cx, size.cy, nullptr, menu, GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    ANNUVIA_MARK("wWinMain");
    INITCOMMONCONTROLSEX common{sizeof common, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&common);
    ANNUVIA_MARK("common controls");
    const annuvia::FormDesign& design = frmMain::kDesign;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kStartupClass;
    RegisterClassExW(&wc);
    // The start-up window: 1500 twips square, fixed frame, never shown.
    [[maybe_unused]] HWND startup = MakeWindow(kStartupClass, SIZE{1500, 1500}, false, nullptr);
    ANNUVIA_MARK("window created", kStartupClass);
    wc.lpfnWndProc = StandInProc;
    wc.lpszClassName = design.className;
    wc.hIcon = annuvia::ProgramIcon(GetSystemMetrics(SM_CXICON));
    wc.hIconSm = annuvia::ProgramIcon(GetSystemMetrics(SM_CXSMICON));
    RegisterClassExW(&wc);
    HWND window = MakeWindow(design.className, SIZE{design.clientWidth, design.clientHeight}, design.minButton,
                             frmMain::MenuBar());
    ANNUVIA_MARK("window created", design.className);
    const UINT dpi = annuvia::DpiOfWindow(window);
    controls = annuvia::MakeControls(design.controls, window, design.backColor, dpi, design.className);
    annuvia::UpdateStackedStops(controls);
    ANNUVIA_MARK("controls created", design.className);
    ShowWindow(window, SW_SHOW);
    ANNUVIA_MARK("shown", design.className);
    SetForegroundWindow(window);
    ANNUVIA_MARK("foreground", design.className);
    return RunMessageLoop(window);
}
