#pragma once
// The form base: a window with a lifetime and its message handler. A form is
// loaded (window and controls created, Form_Load run) on first use, hidden and
// shown without losing state, and unloaded (Form_Unload run, window
// destroyed). Showing a visible form, hiding a hidden one and unloading one
// that is already being unloaded do nothing. A form whose window is destroyed
// by someone else (with its owner, say) is no longer loaded, and its next Show
// loads it afresh. The registry keeps the loaded forms in load order. The
// message handler keeps the window's own messages, runs the window's handlers
// from its table of events, and leaves what names a control to the control's
// kind (forms/control_kinds.h).

#include <windows.h>

#include <functional>
#include <map>
#include <span>
#include <type_traits>
#include <vector>

#include "forms/layout.h"
#include "forms/modal.h"
#include "forms/palette.h"
#include "forms/text_pictures.h"

namespace annuvia {

class Form;

class FormRegistry {
public:
    const std::vector<Form*>& Loaded() const { return loaded_; }
    // After the end of the process nothing runs any more; in tests the end
    // returns, and the forms then ignore every further request.
    bool Ended() const { return ended_; }
    void MarkEnded() { ended_ = true; }
    // How the program's loop hands on one message (dialog manager first); a
    // modal form's nested loop uses the same. Set by the program.
    std::function<void(MSG&)> dispatch;
    // Whether the user asked for the system's colours everywhere (high
    // contrast); asked when a form loads and when the system's settings change.
    std::function<bool()> highContrast;
    ModalStack modals;

private:
    friend class Form;
    std::vector<Form*> loaded_;
    bool ended_ = false;
};

// One row of a window's table of events: a control or menu entry, the
// notification it sends (BN_CLICKED, STN_CLICKED, EN_CHANGE, ...), and the
// handler the form base runs for it (see Handler below).
struct ControlEvent {
    int id;
    int notification;  // kAnyNotification: a menu entry or a dialog command, however it comes
    void (*handler)(Form& form, int id, int notification);
};
inline constexpr int kAnyNotification = -1;

// A window as designed: its class, caption, size and colour, its table of
// controls and its table of events.
struct FormDesign {
    const wchar_t* className;
    const wchar_t* caption;
    int clientWidth, clientHeight;  // twips
    COLORREF backColor;
    ControlTable controls;
    bool appIcon = true;
    bool minButton = true;  // false: a fixed dialog-like frame, only the close box
    std::span<const ControlEvent> events = {};
};

class Form {
public:
    Form(FormRegistry& registry, const FormDesign& design);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    void Load();
    void Show();
    void Hide();
    void Unload();
    // Shows the form modally over its owner (forms/modal.h): a form not yet
    // loaded is made owned by it. The owner is disabled and a nested message
    // loop runs until the form is unloaded or hidden (or the process ends); the
    // owner is enabled and activated again before the form's window goes.
    void ShowModal(HWND owner);

    bool IsLoaded() const { return state_ != State::NotLoaded; }
    bool IsUnloading() const { return state_ == State::Unloading; }
    bool IsVisible() const { return hwnd_ && IsWindowVisible(hwnd_); }
    HWND Hwnd() const { return hwnd_; }
    HWND Control(int id) const;
    UINT Dpi() const { return dpi_; }
    // Puts a control on top of its siblings in its container.
    void BringToFront(int id);

protected:
    virtual void Form_Load() {}
    virtual void Form_Unload() {}
    virtual HMENU CreateFormMenu() { return nullptr; }
    // Messages of a subclassed control that its kind left alone; return true
    // when handled (result in *result).
    // A handler may change wp (a typed character, say) and let the control go on.
    virtual bool OnControlMessage(int /*id*/, UINT /*msg*/, WPARAM& /*wp*/, LPARAM /*lp*/,
                                  LRESULT* /*result*/) {
        return false;
    }
    // Other messages of the form's window; return true when handled.
    virtual bool OnMessage(UINT /*msg*/, WPARAM /*wp*/, LPARAM /*lp*/, LRESULT* /*result*/) {
        return false;
    }
    // Routes a control's messages through its kind and then OnControlMessage
    // (the kinds that need it are routed from the start: forms/control_kinds.h).
    void SubclassControl(int id);
    // The palette's brush of a colour, for what the window paints itself.
    HBRUSH Brush(COLORREF colour) { return palette_.Brush(colour); }
    // Destroys the window now, as the destructor would, without Form_Unload:
    // for a form that must release what its window shows only once the window
    // is gone. A modal showing ends first.
    void DestroyFormWindow();
    // Fits the text of every control whose row asks for it (forms/text_fit.h):
    // called once the texts are in; after a change of DPI the form fits them again.
    void FitTexts();
    // The icon an icon box shows in place of the program's (none: only its
    // background); the form base does not own it.
    void SetIcon(int id, HICON icon);

private:
    enum class State { NotLoaded, Loaded, Unloading };

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    // hwnd: the window the message came for, which a handler that unloads or
    // reloads the form leaves behind as hwnd_ changes.
    LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    // Runs the handler that the table of events has for a WM_COMMAND, if any.
    void RunEvent(int id, int notification);
    void LoadOwnedBy(HWND owner);
    void RegisterClassOnce();
    void CreateControls();
    SIZE ClientTwips() const { return SIZE{design_.clientWidth, design_.clientHeight}; }
    void EndModal() { modal_.End(registry_); }
    // Ends any modal showing and leaves the form not loaded, its window and
    // controls forgotten; returns the window, which is not destroyed here.
    HWND ForgetWindow();
    // Takes the high-contrast setting anew and repaints the window and its controls.
    void ColoursChanged();

    FormRegistry& registry_;
    FormDesign design_;
    State state_ = State::NotLoaded;
    HWND hwnd_ = nullptr;
    UINT dpi_ = 96;
    HWND savedFocus_ = nullptr;
    ModalShowing modal_;
    PlacedControls controls_;
    std::map<HWND, WNDPROC> controlProcs_;  // each subclassed control's own window procedure
    TextPictures pictures_;
    Palette palette_;
};

// A window's member function as an event's handler, for its table:
// Handler<&frmMain::cmdNext_Click>. It takes nothing, or the id and the
// notification that raised it.
template <typename>
struct MemberOf;
template <typename Fn, typename Window>
struct MemberOf<Fn Window::*> {
    using Class = Window;
};
template <auto Member>
void Handler(Form& form, int id, int notification) {
    using Window = typename MemberOf<decltype(Member)>::Class;
    auto& window = static_cast<Window&>(form);
    if constexpr (std::is_invocable_v<decltype(Member), Window&, int, int>) {
        (window.*Member)(id, notification);
    } else {
        (window.*Member)();
    }
}

// The window procedure's guard: no exception crosses into the system.
template <typename Fn>
void IgnoringErrors(Fn&& fn) {
    try {
        fn();
    } catch (...) {
    }
}

// Runs each step in turn, errors ignored: every step runs even when one before it failed.
template <typename... Steps>
void EachStep(Steps&&... steps) {
    (IgnoringErrors(steps), ...);
}

}  // namespace annuvia
