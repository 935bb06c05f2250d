#pragma once
// A form's colours: as designed, or the system's while high contrast is on;
// and the solid brushes it paints them with, one for each colour, kept until
// the form goes.

#include <windows.h>

#include <map>

#include "forms/layout.h"

namespace annuvia {

class Palette {
public:
    struct Colours {
        COLORREF text, back;
    };

    Palette() = default;
    ~Palette();
    Palette(const Palette&) = delete;
    Palette& operator=(const Palette&) = delete;

    // Whether the user asked for the system's colours everywhere; taken when
    // the form loads and whenever the system's settings change.
    void SetHighContrast(bool on) { highContrast_ = on; }
    // The window's background for its designed one.
    COLORREF Window(COLORREF designed) const;
    // Fills a window's client area with its background (WM_ERASEBKGND).
    void FillWindow(HWND window, HDC dc, COLORREF designed);
    // A control's text and background.
    Colours Of(const PlacedControl& control) const;
    // The brush of a colour, made on first use.
    HBRUSH Brush(COLORREF colour);

private:
    bool highContrast_ = false;
    std::map<COLORREF, HBRUSH> brushes_;
};

}  // namespace annuvia
