#include "forms/modal.h"

#include <utility>

#include "forms/form.h"

namespace annuvia {

UINT TakeActivationMessage() {
    static const UINT message = RegisterWindowMessageW(L"Annuvia.ActivateModal");
    return message;
}

void ModalShowing::Begin(FormRegistry& registry, HWND window, HWND owner) {
    window_ = window;
    owner_ = owner;
    disabledOwner_ = owner && IsWindowEnabled(owner);
    if (disabledOwner_) EnableWindow(owner, FALSE);
    registry.modals.Push(window);
}

void ModalShowing::Run(FormRegistry& registry, const std::function<bool()>& up) {
    // The program's own dispatch, so Tab and access keys work.
    MSG msg;
    while (Showing() && up() && !registry.Ended()) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // for the program's loop
            break;
        }
        if (got < 0) break;
        if (registry.dispatch) {
            registry.dispatch(msg);
        } else if (!IsDialogMessageW(window_, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

void ModalShowing::End(FormRegistry& registry) {
    if (!Showing()) return;
    const HWND window = std::exchange(window_, nullptr);
    const HWND owner = std::exchange(owner_, nullptr);
    registry.modals.Remove(window);
    const bool alive = owner && IsWindow(owner);
    if (std::exchange(disabledOwner_, false) && alive) EnableWindow(owner, TRUE);
    const HWND active = GetActiveWindow();
    if (alive && IsWindowVisible(owner) && IsWindowEnabled(owner) && (active == window || !active))
        SetActiveWindow(owner);
}

bool ReturnActivationToModal(const FormRegistry& registry, HWND activated) {
    const HWND modal = registry.modals.Innermost();
    if (!modal || modal == activated || IsWindowEnabled(activated)) return false;
    PostMessageW(modal, TakeActivationMessage(), 0, 0);
    return true;
}

}  // namespace annuvia
