#pragma once
// What every kind of control is and does, in one table: the form base reads
// it where it makes, colours, subclasses, paints and keys its controls.

#include <windows.h>

#include "forms/controls.h"

namespace annuvia {

// Which keys a control keeps from the dialog manager.
enum class KeyRule {
    Own,        // as the control's window class decides (a link's: see link)
    MultiLine,  // every key but Tab and Esc; Esc reaching it is dropped (the edit would close the window)
    ReadOnly,   // as MultiLine, and Enter goes on to the dialog manager too
};

struct ControlKindTraits {
    ControlKind kind;
    // nullptr: the form base's frame container. The class also decides what a
    // screen reader makes of it: an edit or a drop-down list takes its name
    // from the nearest static before it, which the windows place for it.
    const wchar_t* className = L"STATIC";
    DWORD style = 0;  // beside WS_CHILD, WS_CLIPSIBLINGS and, if shown, WS_VISIBLE
    DWORD exStyle = 0;
    bool alignsText = false;  // SS_CENTER, SS_LEFTNOWORDWRAP or SS_LEFT, as its design asks
    // Colours: as designed, or the system's (COLOR_*) while high contrast is on.
    int highContrastText = COLOR_WINDOWTEXT, highContrastBack = COLOR_WINDOW;
    bool systemColours = false;  // not coloured by its form at all
    bool transparent = false;    // its text drawn on its container's background
    // A tab stop with the hand pointer and a focus rectangle; Enter and Space
    // open it as a click does, and never reach the dialog manager's default button.
    bool link = false;
    bool stacked = false;        // several lie at one place: only the one in front is a tab stop
    KeyRule keys = KeyRule::Own;
    bool subclassed = false;  // the form routes its messages from the start (what follows needs it)
    bool ownerDrawn = false;  // painted by PaintButton in its colours; Enter on it presses it
    bool unlimitedText = false;
    bool repaintsFromPicture = false;  // a long text comes back from its last picture (forms/text_pictures.h); subclassed
    bool openListHeight = false;  // its designed height is that of the open list
    bool programIcon = false;     // painted with an icon, the program's unless its form gives another
};

const ControlKindTraits& TraitsOf(ControlKind kind);

// A link's and a multi-line edit's own ways with a message, before the
// control's own procedure (own) sees it: true when handled, with the result.
bool KindMessage(const ControlKindTraits& kind, HWND control, UINT msg, WPARAM wp, LPARAM lp, WNDPROC own,
                 LRESULT* result);

}  // namespace annuvia
