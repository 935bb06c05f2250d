#pragma once
// Where a form and its controls stand and in what type: their twips and
// fonts as designed, scaled by the window's DPI; the window centred on its
// screen's work area.

#include <windows.h>

#include <map>
#include <optional>

#include "forms/control_table.h"

namespace annuvia {

// The DPI of a window, or of the primary screen before there is one.
UINT DpiOfWindow(HWND hwnd);
// The process's fonts: one for each typeface, size, weight, underline and
// DPI, made on first use and kept for the life of the process, so windows and
// their controls share them and a window loaded again makes none.
HFONT SharedFont(const FontRow& font, UINT dpi);

inline constexpr DWORD kFormExStyle = WS_EX_CONTROLPARENT;
// A form's frame: caption, close box and, unless left out, the minimise box.
DWORD FormStyle(bool minButton);
// The window's outer size for its client size in twips, at a DPI.
SIZE FrameSize(SIZE clientTwips, DWORD style, bool hasMenu, UINT dpi);
// Where a window of a size stands centred on the primary screen's work area.
POINT CentredOnPrimaryScreen(SIZE size);
// Moves a window to the middle of the work area of the screen it is on.
void CentreOnScreen(HWND window);
// Moves and sizes a window to a rectangle (one the system suggests for a new DPI, say).
void MoveTo(HWND window, const RECT& place);

// A control as made: its row, its window, and its background as its row has
// it (its container's when inherited; the system's button face is resolved
// only when painting); and the icon an icon box shows in place of the
// program's, where its form gave one (nullptr: none).
struct PlacedControl {
    const ControlRow* row;
    HWND hwnd;
    COLORREF back;
    std::optional<HICON> icon = std::nullopt;
};
using PlacedControls = std::map<int, PlacedControl>;

// Makes a window's controls, each in its container, at its place for a DPI
// and in its font, in the order of the table. A drop-down list resizes its
// list window on every move and every change of font, so each control is
// made as it stays.
PlacedControls MakeControls(ControlTable table, HWND window, COLORREF windowBack, UINT dpi, const wchar_t* form);
// The window at its size for a DPI, its controls in their places and fonts.
void ApplyLayout(HWND window, SIZE clientTwips, DWORD style, const PlacedControls& controls, UINT dpi);
// Which of the controls a window is, if any.
const PlacedControl* Find(const PlacedControls& controls, HWND hwnd);
// Of controls stacked at one place, only the one in front takes the focus.
void UpdateStackedStops(const PlacedControls& controls);

}  // namespace annuvia
