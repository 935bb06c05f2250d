#pragma once
// Control tables: every window lists its controls once, with positions and
// sizes in twips (1/1440 inch) as designed, and the form base scales them to
// pixels by the window's DPI.

#include <windows.h>

#include <string>

namespace annuvia {

inline constexpr COLORREF kFormBlue = RGB(124, 165, 231);
inline constexpr COLORREF kWhite = RGB(255, 255, 255);
inline constexpr COLORREF kBannerBlue = RGB(0, 0, 255);
// "Take the colour of the container" for a control's background.
inline constexpr COLORREF kInherit = 0xFFFFFFFF;
// The system's button face, the default background of opaque labels.
inline constexpr COLORREF kButtonFace = 0xFFFFFFFE;

struct FontSpec {
    const wchar_t* face = L"Verdana";
    int hundredthsOfPoint = 825;
    bool bold = false;
    bool underline = false;
};

inline constexpr FontSpec kVerdana825{L"Verdana", 825, false, false};
inline constexpr FontSpec kVerdana825Bold{L"Verdana", 825, true, false};
inline constexpr FontSpec kSansSerif825{L"MS Sans Serif", 825, false, false};

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
    Icon,        // a box with an icon, 32 x 32 at 96 DPI, in its middle
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

struct ControlSpec {
    int id;
    int parent = 0;  // 0: the form itself; otherwise the id of a frame
    ControlKind kind;
    const wchar_t* caption = L"";
    Twips at;
    FontSpec font = kVerdana825;
    COLORREF textColor = kWhite;
    COLORREF backColor = kInherit;
    bool visible = true;
    bool centred = false;
    bool singleLine = false;   // labels: one line that never wraps (a word too wide is cut, not dropped)
    bool handPointer = false;  // the hand pointer over it, as over a link
    TextFit fit = TextFit::None;
    int fitMargin = 0;  // pixels at 96 DPI the control keeps for itself on each side of a one-line text
};

// Twips to pixels at a given DPI (15 twips a pixel at 96 DPI).
inline int TwipsToPixels(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), 1440); }

// The DPI of a window, or of the primary screen before there is one.
UINT DpiOfWindow(HWND hwnd);
// Window rectangle size for a client size, at a DPI.
SIZE WindowSizeForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle,
                         bool hasMenu, UINT dpi);
HFONT CreateFontAt(const FontSpec& layout, UINT dpi);
// The process's fonts: one for each typeface, size, weight, underline and
// DPI, made on first use and kept for the life of the process, so windows and
// their controls share them and a window loaded again makes none.
HFONT SharedFont(const FontSpec& layout, UINT dpi);

// The frame container's window class; registered once per process.
const wchar_t* FrameClassName();

// Paints an owner-drawn push button in the given colour, with its access key
// underlined and the focus rectangle when it has the focus.
void PaintButton(const DRAWITEMSTRUCT& item, COLORREF back);

// The pointer over links and whatever acts as one: the program's hand, or the system's.
HCURSOR HandPointer();
// The program's icon at 32 x 32, loaded once and shared.
HICON ProgramIcon();

// Paints a box (its WM_PAINT): filled with a colour, an icon in its middle
// (if any), 32 x 32 scaled by the DPI.
void PaintIconBox(HWND box, HICON icon, COLORREF back, UINT dpi);

// The whole text of a window or control, however long.
std::wstring WindowText(HWND hwnd);

}  // namespace annuvia
