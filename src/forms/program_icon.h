#pragma once
// The program's icon at the size a use asks for: the window classes' large
// and small icons, the icon boxes and the start-up window's image list all
// take it from here.

#include <windows.h>

namespace annuvia {

// The icon's size for a DPI: 32 x 32 at 96 DPI.
inline int ProgramIconPixels(UINT dpi) { return MulDiv(32, static_cast<int>(dpi), 96); }

// The program's icon, square and `pixels` wide: the resource's image of that
// size, or one scaled from another (down from a larger one, where the system
// has LoadIconWithScaleDown). Loaded once for each size and kept for the life
// of the process: its users never destroy it.
HICON ProgramIcon(int pixels);

}  // namespace annuvia
