#include "forms/form.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "forms/control_kinds.h"
#include "forms/text_fit.h"
#include "resource.h"
#include "win32/bench_marks.h"

namespace annuvia {

namespace {

constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kFormExStyle = WS_EX_CONTROLPARENT;

const ControlKindTraits& TraitsOf(const ControlSpec& layout) { return TraitsOf(layout.kind); }

// A drop-down list's designed height is that of the box with its list open;
// the list shows as many entries as fit in it (never fewer than one).
void FitOpenList(HWND list, int openHeight) {
    RECT closed{};
    GetWindowRect(list, &closed);
    const int item = static_cast<int>(SendMessageW(list, CB_GETITEMHEIGHT, 0, 0));
    if (item <= 0) return;
    const int entries = (openHeight - (closed.bottom - closed.top) - 2) / item;
    SendMessageW(list, CB_SETMINVISIBLE, static_cast<WPARAM>(entries > 1 ? entries : 1), 0);
}

// A designed colour as it paints now: the system's button face is looked up
// each time, so that it follows every change of the system's colours.
COLORREF Painted(COLORREF designed) { return designed == kButtonFace ? GetSysColor(COLOR_BTNFACE) : designed; }

RECT WorkAreaOf(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    return info.rcWork;
}

// Where a window of a size goes to be centred in an area.
POINT CentredOn(const RECT& area, SIZE size) {
    return POINT{area.left + ((area.right - area.left) - size.cx) / 2,
                 area.top + ((area.bottom - area.top) - size.cy) / 2};
}

HCURSOR HandPointer() {
    static const HCURSOR hand = [] {
        HCURSOR own = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_HAND_POINTER));
        return own ? own : LoadCursorW(nullptr, IDC_HAND);
    }();
    return hand;
}

}  // namespace

Form::Form(FormRegistry& registry, const FormDesign& design) : registry_(registry), design_(design) {}

Form::~Form() {
    DestroyFormWindow();
    for (auto& [colour, brush] : brushes_) DeleteObject(brush);
}

void Form::DestroyFormWindow() {
    const HWND window = ForgetWindow();
    if (!window) return;
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
}

HWND Form::ForgetWindow() {
    EndModal();
    auto& loaded = registry_.loaded_;
    loaded.erase(std::remove(loaded.begin(), loaded.end(), this), loaded.end());
    savedFocus_ = nullptr;
    controls_.clear();
    state_ = State::NotLoaded;
    return std::exchange(hwnd_, nullptr);
}

void Form::RegisterClassOnce() {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), design_.className, &existing)) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = design_.className;
    if (design_.appIcon) {
        // The program icon belongs to the class: every window of it shows the
        // icon without being sent it (which costs a round trip each time).
        auto icon = [&](int metricX, int metricY) {
            return static_cast<HICON>(LoadImageW(wc.hInstance, MAKEINTRESOURCEW(IDI_ANNUVIA), IMAGE_ICON,
                                                 GetSystemMetrics(metricX), GetSystemMetrics(metricY), LR_SHARED));
        };
        wc.hIcon = icon(SM_CXICON, SM_CYICON);
        wc.hIconSm = icon(SM_CXSMICON, SM_CYSMICON);
    }
    RegisterClassExW(&wc);
}

void Form::Load() { LoadOwnedBy(nullptr); }

void Form::LoadOwnedBy(HWND owner) {
    if (registry_.Ended() || state_ != State::NotLoaded) return;
    ANNUVIA_MARK("load", design_.className);
    RegisterClassOnce();
    ANNUVIA_MARK("class registered", design_.className);
    HMENU menu = CreateFormMenu();
    // Made at its size for the screen's DPI and centred on the primary
    // screen's work area from the start: each move or resize of a window costs.
    const UINT screenDpi = DpiOfWindow(nullptr);
    const SIZE size = FrameSize(screenDpi, menu != nullptr);
    const POINT place = CentredOn(WorkAreaOf(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY)), size);
    hwnd_ = CreateWindowExW(kFormExStyle, design_.className, design_.caption, Style(), place.x, place.y, size.cx,
                            size.cy, owner, menu, GetModuleHandleW(nullptr), this);
    if (!hwnd_) {
        if (menu) DestroyMenu(menu);
        return;
    }
    ANNUVIA_MARK("window created", design_.className);
    dpi_ = DpiOfWindow(hwnd_);
    highContrast_ = registry_.highContrast && registry_.highContrast();
    CreateControls();
    UpdateStackedStops();
    ANNUVIA_MARK("controls created", design_.className);
    // A window that came up on a screen of another DPI takes that DPI's size.
    if (dpi_ != screenDpi) {
        ApplyLayout();
        CentreOnScreen();
    }
    registry_.loaded_.push_back(this);
    state_ = State::Loaded;
    Form_Load();
    ANNUVIA_MARK("Form_Load", design_.className);
}

void Form::Show() {
    if (registry_.Ended() || state_ == State::Unloading) return;
    if (state_ == State::NotLoaded) Load();
    if (state_ != State::Loaded || IsWindowVisible(hwnd_)) return;
    ShowWindow(hwnd_, SW_SHOW);
    ANNUVIA_MARK("shown", design_.className);
    SetForegroundWindow(hwnd_);
    ANNUVIA_MARK("foreground", design_.className);
}

void Form::Hide() {
    if (registry_.Ended() || !hwnd_ || !IsWindowVisible(hwnd_)) return;
    EndModal();
    ShowWindow(hwnd_, SW_HIDE);
}

void Form::ShowModal(HWND owner) {
    if (registry_.Ended() || state_ == State::Unloading) return;
    if (state_ == State::NotLoaded) LoadOwnedBy(owner);
    if (state_ != State::Loaded || modal_.Showing()) return;
    if (owner && GetWindow(hwnd_, GW_OWNER) != owner)
        SetWindowLongPtrW(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    const HWND window = hwnd_;
    modal_.Begin(registry_, window, owner);
    if (!IsWindowVisible(hwnd_)) ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    modal_.Run(registry_, [&] { return hwnd_ == window && IsWindow(window); });
    if (!registry_.Ended()) EndModal();
}

void Form::Unload() {
    if (registry_.Ended() || state_ != State::Loaded) return;
    state_ = State::Unloading;
    IgnoringErrors([&] { Form_Unload(); });
    if (registry_.Ended()) return;  // the handler ended the process
    DestroyFormWindow();
}

HWND Form::Control(int id) const {
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second.hwnd;
}

void Form::BringToFront(int id) {
    if (registry_.Ended()) return;
    if (HWND control = Control(id)) {
        SetWindowPos(control, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        InvalidateRect(control, nullptr, TRUE);
        UpdateStackedStops();
    }
}

void Form::FitTexts() {
    if (registry_.Ended()) return;
    for (const auto& [id, state] : controls_) FitText(state.hwnd, *state.layout, dpi_);
}

void Form::SetIcon(int id, HICON icon) {
    auto it = controls_.find(id);
    if (it == controls_.end()) return;
    it->second.iconGiven = true;
    it->second.icon = icon;
    InvalidateRect(it->second.hwnd, nullptr, TRUE);
}

void Form::UpdateStackedStops() {
    const HWND focus = GetFocus();
    HWND front = nullptr;
    bool focusBehind = false;
    for (const auto& [id, state] : controls_) {
        if (!TraitsOf(*state.layout).stacked) continue;
        bool behind = false;
        for (HWND above = GetWindow(state.hwnd, GW_HWNDPREV); above && !behind; above = GetWindow(above, GW_HWNDPREV)) {
            const ControlState* other = StateOf(above);
            behind = other && other->layout->kind == state.layout->kind;
        }
        const LONG_PTR style = GetWindowLongPtrW(state.hwnd, GWL_STYLE);
        const LONG_PTR wanted = behind ? (style & ~LONG_PTR{WS_TABSTOP}) : (style | WS_TABSTOP);
        if (wanted != style) SetWindowLongPtrW(state.hwnd, GWL_STYLE, wanted);
        if (!behind) front = state.hwnd;
        focusBehind = focusBehind || (behind && state.hwnd == focus);
    }
    if (focusBehind && front) SetFocus(front);
}

COLORREF Form::BackColour() const { return highContrast_ ? GetSysColor(COLOR_WINDOW) : Painted(design_.backColor); }

void Form::SubclassControl(int id) {
    // The control's own procedure is kept here and the form in the control's
    // user data: a message then costs no lookup of a window property, which
    // under Wine is a round trip to its server (two a message, the way the
    // common controls' subclassing works).
    HWND control = Control(id);
    if (!control || controlProcs_.count(control)) return;
    SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    controlProcs_[control] = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
}

HBRUSH Form::BrushFor(COLORREF colour) {
    auto it = brushes_.find(colour);
    if (it != brushes_.end()) return it->second;
    HBRUSH brush = CreateSolidBrush(colour);
    brushes_.emplace(colour, brush);
    return brush;
}

void Form::CreateControls() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    for (const ControlSpec& layout : design_.controls) {
        HWND parent = hwnd_;
        COLORREF parentBack = design_.backColor;
        if (layout.parent != 0) {
            auto it = controls_.find(layout.parent);
            if (it != controls_.end()) {
                parent = it->second.hwnd;
                parentBack = it->second.back;
            }
        }
        // As designed, the system's button face among them: resolved when painting.
        const COLORREF back = layout.backColor == kInherit ? parentBack : layout.backColor;

        const ControlKindTraits& kind = TraitsOf(layout);
        DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (layout.visible ? WS_VISIBLE : 0u) | kind.style;
        if (kind.alignsText) style |= layout.centred ? SS_CENTER : layout.singleLine ? SS_LEFTNOWORDWRAP : SS_LEFT;
        // Each control is made at its place with its font: a drop-down list
        // resizes its list window on every move and every change of font.
        const Twips& at = layout.at;
        HWND control = CreateWindowExW(kind.exStyle, kind.className ? kind.className : FrameClassName(),
                                       layout.caption ? layout.caption : L"", style, TwipsToPixels(at.left, dpi_),
                                       TwipsToPixels(at.top, dpi_), TwipsToPixels(at.width, dpi_),
                                       TwipsToPixels(at.height, dpi_), parent,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)), instance, nullptr);
        if (kind.openListHeight) ANNUVIA_MARK("drop-down list made", design_.className);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(layout.font)), FALSE);
        if (kind.openListHeight) {
            ANNUVIA_MARK("its font set", design_.className);
            FitOpenList(control, TwipsToPixels(at.height, dpi_));
        }
        if (kind.unlimitedText) SendMessageW(control, EM_SETLIMITTEXT, 0, 0);
        controls_[layout.id] = ControlState{&layout, control, back};
        // Links take their keys and draw their focus, multi-line edits keep
        // the window's keyboard rules, icon boxes paint (see ControlKindMessage).
        if (kind.subclassed) SubclassControl(layout.id);
    }
}

HFONT Form::FontFor(const FontSpec& layout) const { return SharedFont(layout, dpi_); }

SIZE Form::FrameSize(UINT dpi, bool hasMenu) const {
    return WindowSizeForClient(TwipsToPixels(design_.clientWidth, dpi), TwipsToPixels(design_.clientHeight, dpi),
                               Style(), kFormExStyle, hasMenu, dpi);
}

void Form::PlaceControl(HWND control, const ControlSpec& layout) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(layout.font)), FALSE);
    const Twips& at = layout.at;
    SetWindowPos(control, nullptr, TwipsToPixels(at.left, dpi_), TwipsToPixels(at.top, dpi_),
                 TwipsToPixels(at.width, dpi_), TwipsToPixels(at.height, dpi_), SWP_NOZORDER | SWP_NOACTIVATE);
    if (TraitsOf(layout).openListHeight) FitOpenList(control, TwipsToPixels(at.height, dpi_));
}

void Form::ApplyLayout() {
    const SIZE size = FrameSize(dpi_, GetMenu(hwnd_) != nullptr);
    SetWindowPos(hwnd_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (auto& [id, control] : controls_) PlaceControl(control.hwnd, *control.layout);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

DWORD Form::Style() const { return design_.minButton ? kFormStyle : kFormStyle & ~DWORD{WS_MINIMIZEBOX}; }

void Form::CentreOnScreen() {
    RECT rc;
    GetWindowRect(hwnd_, &rc);
    const POINT place = CentredOn(WorkAreaOf(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY)),
                                  SIZE{rc.right - rc.left, rc.bottom - rc.top});
    SetWindowPos(hwnd_, nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

const Form::ControlState* Form::StateOf(HWND control) const {
    for (const auto& [id, state] : controls_) {
        if (state.hwnd == control) return &state;
    }
    return nullptr;
}

Form::Colours Form::ColoursOf(const ControlState& state) const {
    if (!highContrast_) return {state.layout->textColor, Painted(state.back)};
    // High contrast: the system's colours, whatever the design says.
    const ControlKindTraits& kind = TraitsOf(*state.layout);
    return {GetSysColor(kind.highContrastText), GetSysColor(kind.highContrastBack)};
}

LRESULT Form::ColourControl(UINT msg, WPARAM wp, LPARAM lp) {
    HDC dc = reinterpret_cast<HDC>(wp);
    const ControlState* state = StateOf(reinterpret_cast<HWND>(lp));
    if (!state || TraitsOf(*state->layout).systemColours) return DefWindowProcW(hwnd_, msg, wp, lp);
    const Colours colours = ColoursOf(*state);
    SetTextColor(dc, colours.text);
    SetBkColor(dc, colours.back);
    SetBkMode(dc, TraitsOf(*state->layout).transparent ? TRANSPARENT : OPAQUE);
    return reinterpret_cast<LRESULT>(BrushFor(colours.back));
}

void Form::PaintIconBox(HWND box, const ControlState& state) {
    static const auto programIcon = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_ANNUVIA), IMAGE_ICON, 32, 32, LR_SHARED));
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(box, &ps);
    RECT rc;
    GetClientRect(box, &rc);
    PaintIcon(dc, rc, state.iconGiven ? state.icon : programIcon, ColoursOf(state).back, dpi_);
    EndPaint(box, &ps);
}

bool Form::ControlKindMessage(HWND control, const ControlState& state, UINT msg, WPARAM wp, LPARAM lp, WNDPROC own,
                              LRESULT* result) {
    const ControlKindTraits& kind = TraitsOf(*state.layout);
    if (KindMessage(kind, control, msg, wp, lp, own, result)) return true;
    if (msg != WM_PAINT || wp != 0) return false;
    if (kind.programIcon) {
        PaintIconBox(control, state);
        *result = 0;
        return true;
    }
    if (kind.repaintsFromPicture && pictures_.Paint(control)) {
        *result = 0;
        return true;
    }
    return false;
}

void Form::ColoursChanged() {
    pictures_.DropAll();  // painted in colours or type that may have changed
    highContrast_ = registry_.highContrast && registry_.highContrast();
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lp);
        auto* self = static_cast<Form*>(create->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        // Destroyed by someone else (with its owner, say): the form is as if unloaded.
        if (self->hwnd_ == hwnd) self->ForgetWindow();
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    LRESULT result = 0;
    bool handled = false;
    IgnoringErrors([&] {
        result = self->HandleMessage(msg, wp, lp);
        handled = true;
    });
    return handled ? result : DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT CALLBACK Form::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    const auto own = self->controlProcs_.find(hwnd);
    if (own == self->controlProcs_.end()) return DefWindowProcW(hwnd, msg, wp, lp);
    // On to the control's own procedure.
    const WNDPROC control = own->second;
    const auto forward = [&](WPARAM w) { return CallWindowProcW(control, hwnd, msg, w, lp); };
    if (msg == WM_NCDESTROY) {
        self->pictures_.Drop(hwnd);
        self->controlProcs_.erase(own);
        return forward(wp);
    }
    const int id = GetDlgCtrlID(hwnd);
    if (const ControlState* state = self->StateOf(hwnd)) {
        LRESULT result = 0;
        bool handled = false;
        IgnoringErrors([&] { handled = self->ControlKindMessage(hwnd, *state, msg, wp, lp, control, &result); });
        if (handled) return result;
    }
    LRESULT result = 0;
    bool handled = false;
    IgnoringErrors([&] { handled = self->OnControlMessage(id, msg, wp, lp, &result); });
    // wp may have been changed by the handler on its way to the control.
    return handled ? result : forward(wp);
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    if (msg == TakeActivationMessage()) {
        if (modal_.Showing() && IsWindowVisible(hwnd_)) SetForegroundWindow(hwnd_);
        return 0;
    }
    if (OnMessage(msg, wp, lp, &result)) return result;
    switch (msg) {
        case WM_CLOSE:
            Unload();
            return 0;
        case WM_ERASEBKGND: {
            RECT rc;
            GetClientRect(hwnd_, &rc);
            FillRect(reinterpret_cast<HDC>(wp), &rc, BrushFor(BackColour()));
            return 1;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
            return ColourControl(msg, wp, lp);
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
            const ControlState* state = StateOf(item->hwndItem);
            if (!state || item->CtlType != ODT_BUTTON) break;
            PaintButton(*item, ColoursOf(*state).back);
            return TRUE;
        }
        case WM_SETCURSOR:
            if (const ControlState* state = StateOf(reinterpret_cast<HWND>(wp));
                state && (TraitsOf(*state->layout).link || state->layout->handPointer)) {
                SetCursor(HandPointer());
                return TRUE;
            }
            break;
        case WM_COMMAND:
            // Enter on a focused push button presses it: owner-drawn buttons
            // are never default buttons, so the dialog manager sends IDOK.
            if (LOWORD(wp) == IDOK && HIWORD(wp) == BN_CLICKED) {
                HWND focus = GetFocus();
                const ControlState* state = focus ? StateOf(focus) : nullptr;
                if (state && TraitsOf(*state->layout).ownerDrawn && IsWindowEnabled(focus)) {
                    OnCommand(state->layout->id, BN_CLICKED);
                    return 0;
                }
            }
            OnCommand(LOWORD(wp), HIWORD(wp));
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wp) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus && IsChild(hwnd_, focus)) savedFocus_ = focus;
            } else if (HIWORD(wp)) {
                // Activated while minimized: the focus stays out of its controls until it is restored.
            } else if (ReturnActivationToModal(registry_, hwnd_)) {
                // Disabled by a modal form and activated all the same (from the
                // taskbar, say): the modal form comes back in front.
            } else {
                HWND target = savedFocus_;
                if (!target || !IsWindow(target) || !IsWindowVisible(target))
                    target = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
                if (target) SetFocus(target);
                ANNUVIA_MARK("focus set", design_.className);
            }
            return 0;
        case WM_SYSCOLORCHANGE:
            // The system's own controls keep colours of their own: they hear of it too.
            for (const auto& [id, control] : controls_) SendMessageW(control.hwnd, msg, wp, lp);
            ColoursChanged();
            break;
        case WM_THEMECHANGED:
        case WM_SETTINGCHANGE:
            ColoursChanged();
            break;
        case WM_DPICHANGED: {
            dpi_ = HIWORD(wp);
            ApplyLayout();
            const RECT* suggested = reinterpret_cast<const RECT*>(lp);
            SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                         suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
            FitTexts();  // laid out anew in the designed type
            return 0;
        }
        default:
            break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace annuvia
