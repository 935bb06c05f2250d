#pragma once
// What every kind of control is and does: one table of kinds, which the form
// base reads where it makes its controls, and each kind's answers to the
// messages about its controls, whether they come to the control itself or to
// its form (colours, owner drawing, the pointer, keys, focus, painting).

#include <windows.h>

#include "forms/control_table.h"
#include "forms/layout.h"
#include "forms/palette.h"
#include "forms/text_pictures.h"

namespace annuvia {

// Which keys a control keeps from the dialog manager.
enum class KeyRule {
    Own,        // as the control's window class decides (a link's: see link)
    MultiLine,  // every key but Tab and Esc; Esc reaching it is dropped (the edit would close the window)
    ReadOnly,   // as MultiLine, and Enter goes on to the dialog manager too
};

// A kind's row in the kinds table.
struct KindRow {
    ControlKind kind;
    // nullptr: the frame container (FrameClassName). The class also decides what
    // a screen reader makes of it: an edit or a drop-down list takes its name
    // from the nearest static before it, which the windows place for it.
    const wchar_t* className = L"STATIC";
    DWORD style = 0;  // beside WS_CHILD, WS_CLIPSIBLINGS and, if shown, WS_VISIBLE
    DWORD exStyle = 0;
    bool alignsText = false;  // SS_CENTER, SS_LEFTNOWORDWRAP or SS_LEFT, as its row asks
    // Colours: as its row has them, or the system's (COLOR_*) while high contrast is on.
    int highContrastText = COLOR_WINDOWTEXT, highContrastBack = COLOR_WINDOW;
    bool systemColours = false;  // not coloured by its form at all
    bool transparent = false;    // its text drawn on its container's background
    // A tab stop with the hand pointer and a focus rectangle; Enter and Space
    // open it as a click does, and never reach the dialog manager's default button.
    bool link = false;
    bool stacked = false;        // several lie at one place: only the one in front is a tab stop
    KeyRule keys = KeyRule::Own;
    bool subclassed = false;  // its own messages come to its kind from the start (what follows needs it)
    bool ownerDrawn = false;  // painted in its colours by its kind; Enter on it presses it
    bool unlimitedText = false;
    bool repaintsFromPicture = false;  // a long text comes back from its last picture (forms/text_pictures.h)
    bool openListHeight = false;  // its row's height is that of the open list
    bool programIcon = false;     // painted with an icon, the program's unless its form gives another
};

const KindRow& RowOf(ControlKind kind);

// The frame container's window class; registered on first use.
const wchar_t* FrameClassName();

// What the kinds answer with beside the rows: the form's colours, the
// pictures of its long texts, its DPI.
struct KindSurroundings {
    Palette& palette;
    TextPictures& pictures;
    UINT dpi;
};

// A message to a subclassed control, before its own procedure (own) sees it:
// true when its kind answered it, with the result.
bool ControlMessage(const PlacedControl& control, const KindSurroundings& form, UINT msg, WPARAM wp, LPARAM lp,
                    WNDPROC own, LRESULT* result);

// A message to a form that names one of its controls: the control's colours
// (WM_CTLCOLOR*), its owner drawing (WM_DRAWITEM), the pointer over it
// (WM_SETCURSOR), and Enter while it has the focus (IDOK from the dialog
// manager). True when the control's kind answered it, with the result.
bool MessageAboutControl(const PlacedControls& controls, Palette& palette, UINT msg, WPARAM wp, LPARAM lp,
                         LRESULT* result);

}  // namespace annuvia
