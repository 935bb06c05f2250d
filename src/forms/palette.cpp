#include "forms/palette.h"

#include "forms/control_kinds.h"

namespace annuvia {

namespace {

// A designed colour as it paints now: the system's button face is looked up
// each time, so that it follows every change of the system's colours.
COLORREF Painted(COLORREF designed) { return designed == kButtonFace ? GetSysColor(COLOR_BTNFACE) : designed; }

}  // namespace

Palette::~Palette() {
    for (auto& [colour, brush] : brushes_) DeleteObject(brush);
}

COLORREF Palette::Window(COLORREF designed) const {
    return highContrast_ ? GetSysColor(COLOR_WINDOW) : Painted(designed);
}

void Palette::FillWindow(HWND window, HDC dc, COLORREF designed) {
    RECT rc;
    GetClientRect(window, &rc);
    FillRect(dc, &rc, Brush(Window(designed)));
}

Palette::Colours Palette::Of(const PlacedControl& control) const {
    if (!highContrast_) return {control.row->textColor, Painted(control.back)};
    // High contrast: the system's colours, whatever the row says.
    const KindRow& kind = RowOf(control.row->kind);
    return {GetSysColor(kind.highContrastText), GetSysColor(kind.highContrastBack)};
}

HBRUSH Palette::Brush(COLORREF colour) {
    auto it = brushes_.find(colour);
    if (it != brushes_.end()) return it->second;
    HBRUSH brush = CreateSolidBrush(colour);
    brushes_.emplace(colour, brush);
    return brush;
}

}  // namespace annuvia
