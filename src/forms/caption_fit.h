#pragma once
// Wrapped captions in boxes of a fixed size. A typeface that stands in for the
// designed one, or the rounding at some DPI, can make such a caption a pixel
// taller than its box, which then cuts off the foot of its last line. Such a
// caption steps its type down a quarter point at a time until it fits, never
// below half the designed size; where the designed type fits it stays.

#include <windows.h>

#include "forms/controls.h"

namespace annuvia {

// Gives a label the largest type, at most the designed one, in which its text,
// wrapped at the label's width, fits the label's height. The smaller fonts are
// made once per size and DPI and live as long as the process.
void FitWrappedCaption(HWND label, const FontSpec& designed, UINT dpi);

// What a window posts itself on WM_DPICHANGED, to fit its captions again once
// the form base has laid it out anew in the designed type.
inline constexpr UINT kRefitCaptionsMessage = WM_APP + 2;

}  // namespace annuvia
