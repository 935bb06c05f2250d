#pragma once
// The form base: a window with a lifetime. A form is loaded (window and
// controls created, Form_Load run) on first use, hidden and shown without
// losing state, and unloaded (Form_Unload run, window destroyed). Showing a
// visible form, hiding a hidden one and unloading one that is already being
// unloaded do nothing. A form whose window is destroyed by someone else (with
// its owner, say) is no longer loaded, and its next Show loads it afresh.
// The registry keeps the loaded forms in load order.
// Its controls stand at their twips scaled by the window's DPI, laid out anew
// when the DPI changes, and take their colours and ways from their kind
// (forms/control_kinds.h); the focus comes back to where it was on activation.

#include <windows.h>

#include <functional>
#include <map>
#include <span>
#include <vector>

#include "forms/controls.h"
#include "forms/modal.h"
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

private:
    friend class Form;
    friend class ModalShowing;
    friend bool ReturnActivationToModal(const FormRegistry& registry, HWND activated);
    std::vector<Form*> loaded_;
    bool ended_ = false;
    HWND modal_ = nullptr;  // the innermost window shown modally, if any
};

struct FormDesign {
    const wchar_t* className;
    const wchar_t* caption;
    int clientWidth, clientHeight;  // twips
    COLORREF backColor;
    std::span<const ControlSpec> controls;
    bool appIcon = true;
    bool minButton = true;  // false: a fixed dialog-like frame, only the close box
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
    virtual void OnCommand(int /*id*/, int /*code*/) {}
    // Messages of a subclassed control; return true when handled (result in *result).
    // A handler may change wp (a typed character, say) and let the control go on.
    virtual bool OnControlMessage(int /*id*/, UINT /*msg*/, WPARAM& /*wp*/, LPARAM /*lp*/,
                                  LRESULT* /*result*/) {
        return false;
    }
    // Other messages of the form's window; return true when handled.
    virtual bool OnMessage(UINT /*msg*/, WPARAM /*wp*/, LPARAM /*lp*/, LRESULT* /*result*/) {
        return false;
    }
    // Routes a control's messages through OnControlMessage.
    void SubclassControl(int id);
    // The window's background: as designed, or the system's while high contrast is on.
    COLORREF BackColour() const;
    bool HighContrast() const { return highContrast_; }
    // Destroys the window now, as the destructor would, without Form_Unload:
    // for a form that must release what its window shows only once the window
    // is gone. A modal showing ends first.
    void DestroyFormWindow();
    // Fits the text of every control whose design asks for it (forms/text_fit.h):
    // called once the texts are in; after a change of DPI the form fits them again.
    void FitTexts();
    // The icon an icon box shows in place of the program's (none: only its
    // background); the form base does not own it.
    void SetIcon(int id, HICON icon);

private:
    enum class State { NotLoaded, Loaded, Unloading };
    struct ControlState {
        const ControlSpec* layout;
        HWND hwnd;
        COLORREF back;  // as designed, the container's when inherited
        bool iconGiven = false;  // icon boxes: the form gave the icon (none, perhaps) in place of the program's
        HICON icon = nullptr;
    };
    struct Colours {
        COLORREF text, back;
    };

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    // What the form does for a kind of control before the control's own procedure: true when handled.
    bool ControlKindMessage(HWND control, const ControlState& state, UINT msg, WPARAM wp, LPARAM lp, WNDPROC own,
                            LRESULT* result);
    void LoadOwnedBy(HWND owner);
    void RegisterClassOnce();
    void CreateControls();
    // Font, place and open-list height of one control, from its twips at the window's DPI.
    void PlaceControl(HWND control, const ControlSpec& layout);
    void ApplyLayout();
    SIZE FrameSize(UINT dpi, bool hasMenu) const;
    void CentreOnScreen();
    DWORD Style() const;
    void EndModal() { modal_.End(registry_); }
    // Ends any modal showing and leaves the form not loaded, its window and
    // controls forgotten; returns the window, which is not destroyed here.
    HWND ForgetWindow();
    HFONT FontFor(const FontSpec& layout) const;
    const ControlState* StateOf(HWND control) const;
    HBRUSH BrushFor(COLORREF colour);
    LRESULT ColourControl(UINT msg, WPARAM wp, LPARAM lp);
    Colours ColoursOf(const ControlState& state) const;
    void PaintIconBox(HWND box, const ControlState& state);
    // Of controls stacked at one place, only the one in front takes the focus.
    void UpdateStackedStops();
    // Takes the high-contrast setting anew and repaints the window and its controls.
    void ColoursChanged();

    FormRegistry& registry_;
    FormDesign design_;
    State state_ = State::NotLoaded;
    HWND hwnd_ = nullptr;
    UINT dpi_ = 96;
    bool highContrast_ = false;
    HWND savedFocus_ = nullptr;
    ModalShowing modal_;
    std::map<int, ControlState> controls_;
    std::map<HWND, WNDPROC> controlProcs_;  // each subclassed control's own window procedure
    TextPictures pictures_;
    std::map<COLORREF, HBRUSH> brushes_;
};

// The window procedure's guard: no exception crosses into the system.
template <typename Fn>
void IgnoringErrors(Fn&& fn) {
    try {
        fn();
    } catch (...) {
    }
}

}  // namespace annuvia
