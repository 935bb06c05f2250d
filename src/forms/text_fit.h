#pragma once
// Texts in boxes of a fixed size. A typeface that stands in for the designed
// one, or the rounding at some DPI, can make a text run past its box, which
// then cuts off its foot or its end. Such a text steps its type down a
// quarter point at a time until it fits, never below half the designed size
// (where none fits, it takes that smallest); where the designed type fits it
// stays. A box that sizes itself to its text takes the size of the text on
// one line.

#include <windows.h>

#include "forms/control_table.h"

namespace annuvia {

// Fits a control's text as its row asks (row.fit), at a DPI. The smaller
// type comes from the process's shared fonts.
void FitText(HWND control, const ControlRow& row, UINT dpi);

}  // namespace annuvia
