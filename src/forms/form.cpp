#include "forms/form.h"

#include <algorithm>
#include <utility>

#include "forms/control_kinds.h"
#include "forms/layout.h"
#include "forms/program_icon.h"
#include "forms/text_fit.h"
#include "win32/bench_marks.h"

namespace annuvia {

Form::Form(FormRegistry& registry, const FormDesign& design) : registry_(registry), design_(design) {}

Form::~Form() { DestroyFormWindow(); }

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
        wc.hIcon = ProgramIcon(GetSystemMetrics(SM_CXICON));
        wc.hIconSm = ProgramIcon(GetSystemMetrics(SM_CXSMICON));
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
    const DWORD style = FormStyle(design_.minButton);
    const SIZE size = FrameSize(ClientTwips(), style, menu != nullptr, screenDpi);
    const POINT place = CentredOnPrimaryScreen(size);
    hwnd_ = CreateWindowExW(kFormExStyle, design_.className, design_.caption, style, place.x, place.y, size.cx,
                            size.cy, owner, menu, GetModuleHandleW(nullptr), this);
    if (!hwnd_) {
        if (menu) DestroyMenu(menu);
        return;
    }
    ANNUVIA_MARK("window created", design_.className);
    dpi_ = DpiOfWindow(hwnd_);
    palette_.SetHighContrast(registry_.highContrast && registry_.highContrast());
    CreateControls();
    UpdateStackedStops(controls_);
    ANNUVIA_MARK("controls created", design_.className);
    // A window that came up on a screen of another DPI takes that DPI's size.
    if (dpi_ != screenDpi) {
        ApplyLayout(hwnd_, ClientTwips(), FormStyle(design_.minButton), controls_, dpi_);
        CentreOnScreen(hwnd_);
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
        UpdateStackedStops(controls_);
    }
}

void Form::FitTexts() {
    if (registry_.Ended()) return;
    for (const auto& [id, control] : controls_) FitText(control.hwnd, *control.row, dpi_);
}

void Form::SetIcon(int id, HICON icon) {
    auto box = controls_.find(id);
    if (box == controls_.end()) return;
    box->second.icon = icon;
    InvalidateRect(box->second.hwnd, nullptr, TRUE);
}

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

void Form::CreateControls() {
    controls_ = MakeControls(design_.controls, hwnd_, design_.backColor, dpi_, design_.className);
    // Links take their keys and draw their focus, edits keep the window's
    // keyboard rules or repaint from pictures, icon boxes paint (see SubclassProc).
    for (const auto& [id, control] : controls_) {
        if (RowOf(control.row->kind).subclassed) SubclassControl(id);
    }
}

void Form::ColoursChanged() {
    pictures_.DropAll();  // painted in colours or type that may have changed
    palette_.SetHighContrast(registry_.highContrast && registry_.highContrast());
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void Form::RunEvent(int id, int notification) {
    for (const ControlEvent& event : design_.events) {
        if (event.id == id && (event.notification == notification || event.notification == kAnyNotification)) {
            event.handler(*this, id, notification);
            return;
        }
    }
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
        result = self->HandleMessage(hwnd, msg, wp, lp);
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
    const WNDPROC ownProc = own->second;
    const auto forward = [&](WPARAM w) { return CallWindowProcW(ownProc, hwnd, msg, w, lp); };
    if (msg == WM_NCDESTROY) {
        self->pictures_.Drop(hwnd);
        self->controlProcs_.erase(own);
        return forward(wp);
    }
    LRESULT result = 0;
    bool handled = false;
    if (const PlacedControl* control = Find(self->controls_, hwnd)) {
        const KindSurroundings form{self->palette_, self->pictures_, self->dpi_};
        IgnoringErrors([&] { handled = ControlMessage(*control, form, msg, wp, lp, ownProc, &result); });
        if (handled) return result;
    }
    IgnoringErrors([&] { handled = self->OnControlMessage(GetDlgCtrlID(hwnd), msg, wp, lp, &result); });
    // wp may have been changed by the handler on its way to the control.
    return handled ? result : forward(wp);
}

LRESULT Form::HandleMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    if (msg == TakeActivationMessage()) {
        if (modal_.Showing() && IsWindowVisible(hwnd_)) SetForegroundWindow(hwnd_);
        return 0;
    }
    if (OnMessage(msg, wp, lp, &result)) return result;
    // A message that names one of the controls is its kind's to answer.
    if (MessageAboutControl(controls_, palette_, msg, wp, lp, &result)) return result;
    switch (msg) {
        case WM_CLOSE:
            Unload();
            return 0;
        case WM_ERASEBKGND:
            palette_.FillWindow(hwnd_, reinterpret_cast<HDC>(wp), design_.backColor);
            return 1;
        case WM_COMMAND:
            RunEvent(LOWORD(wp), HIWORD(wp));
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
            ApplyLayout(hwnd_, ClientTwips(), FormStyle(design_.minButton), controls_, dpi_);
            MoveTo(hwnd_, *reinterpret_cast<const RECT*>(lp));  // where the system suggests
            FitTexts();  // laid out anew in the designed type
            return 0;
        }
        default:
            break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace annuvia
