#pragma once
// A window's table of controls: a row for each control, its place and size
// in twips (1/1440 inch) as designed, its font and colours; the form base
// scales them to pixels by the window's DPI.

#include <windows.h>

#include <span>

namespace annuvia {

inline constexpr COLORREF kFormBlue = RGB(124, 165, 231);
inline constexpr COLORREF kWhite = RGB(255, 255, 255);
inline constexpr COLORREF kBannerBlue = RGB(0, 0, 255);
// "Take the colour of the container" for a control's background.
inline constexpr COLORREF kInherit = 0xFFFFFFFF;
// The system's button face, the default background of opaque labels.
inline constexpr COLORREF kButtonFace = 0xFFFFFFFE;

// A font as designed: typeface, size, weight and underline.
struct FontRow {
    const wchar_t* face = L"Verdana";
    int hundredthsOfPoint = 825;
    bool bold = false;
    bool underline = false;
};

inline constexpr FontRow kVerdana825{L"Verdana", 825, false, false};
inline constexpr FontRow kVerdana825Bold{L"Verdana", 825, true, false};
inline constexpr FontRow kSansSerif825{L"MS Sans Serif", 825, false, false};

enum class ControlKind {
    Frame,       // container with an etched border and an optional caption
    Label,       // transparent static text
    LinkLabel,   // transparent static text that reacts to clicks, hand pointer
    Banner,      // opaque static text that reacts to clicks, hand pointer
    TextBox,     // single-line edit
    LockedText,  // multi-line read-only edit with a vertical scroll bar
    MultiLineText,  // multi-line edit with a vertical scroll bar
    DropList,    // drop-down list without typing
    Button,      // push button painted in its container's colour
    PushCheckBox,  // check box drawn as a push button that stays pressed while ticked
    Line,        // a straight line filled with its background colour
    Icon,        // a box with the program's icon (or another its form gives) in its middle
};

// How a control's text keeps within its box at any DPI (forms/text_fit.h).
enum class TextFit {
    None,        // as designed
    Wrapped,     // wrapped at the box's width, within its height, in smaller type if need be
    OneLine,     // one line within the box less a margin, in smaller type if need be
    SizeToText,  // the box takes the size of its text in one line
};

// A place and size in twips, from the container's corner.
struct Twips {
    int left, top, width, height;
};

// A control's row in its window's table.
struct ControlRow {
    int id;
    int parent = 0;  // 0: the form itself; otherwise the id of a frame
    ControlKind kind;
    const wchar_t* caption = L"";
    Twips at;
    FontRow font = kVerdana825;
    COLORREF textColor = kWhite;
    COLORREF backColor = kInherit;
    bool visible = true;
    bool centred = false;
    bool singleLine = false;   // labels: one line that never wraps (a word too wide is cut, not dropped)
    bool handPointer = false;  // the hand pointer over it, as over a link
    TextFit fit = TextFit::None;
    int fitMargin = 0;  // pixels at 96 DPI the control keeps for itself on each side of a one-line text
};

// A window's table: its controls' rows in the order they are made, which is
// the z-order and the tab order.
using ControlTable = std::span<const ControlRow>;

// Twips to pixels at a given DPI (15 twips a pixel at 96 DPI).
inline int TwipsToPixels(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), 1440); }

}  // namespace annuvia
