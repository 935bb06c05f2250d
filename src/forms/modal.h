#pragma once
// A form shown modally over its owner: the owner takes no input while the
// form is up, a nested loop hands the messages on the program's way, and the
// owner is enabled and activated again before the form's window goes.
// Activated all the same while disabled (from the taskbar, say), the owner
// sends the activation back to the innermost modal window.

#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace annuvia {

class FormRegistry;

// The windows shown modally now, innermost last.
class ModalStack {
public:
    void Push(HWND window) { windows_.push_back(window); }
    void Remove(HWND window) { windows_.erase(std::remove(windows_.begin(), windows_.end(), window), windows_.end()); }
    HWND Innermost() const { return windows_.empty() ? nullptr : windows_.back(); }

private:
    std::vector<HWND> windows_;
};

class ModalShowing {
public:
    // Disables the owner (none: nothing is disabled) for a window about to show.
    void Begin(FormRegistry& registry, HWND window, HWND owner);
    // The nested loop: runs while the showing lasts, up() holds and the process
    // has not ended. A quit message ends it and is posted again for the
    // program's own loop.
    void Run(FormRegistry& registry, const std::function<bool()>& up);
    // Enables the owner again and, if the window is the active one, activates
    // the owner in its place; while the window still exists, or Windows
    // activates another program's window. Does nothing when not showing.
    void End(FormRegistry& registry);
    bool Showing() const { return window_ != nullptr; }

private:
    HWND window_ = nullptr;
    HWND owner_ = nullptr;
    bool disabledOwner_ = false;  // the owner was enabled, and this showing disabled it
};

// What a modal window is sent to take the activation back.
UINT TakeActivationMessage();

// For a window activated while it is disabled: when a modal window is up,
// asks it to take the activation back and returns true.
bool ReturnActivationToModal(const FormRegistry& registry, HWND activated);

}  // namespace annuvia
