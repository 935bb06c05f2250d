#include "app/app.h"

#include "web/modHelp.h"

namespace annuvia {

namespace {
constexpr UINT kCheckForEnd = WM_APP + 1;
constexpr wchar_t kHelperClass[] = L"Annuvia_Helper";
}  // namespace

App::App(Platform& platform) : platform_(platform), context_{platform, forms_, nullptr, nullptr, nullptr, {}, {}, {}} {
    nagScreen_ = std::make_unique<frmNagScreen>(context_);
    main_ = std::make_unique<frmMain>(context_);
    personalYear_ = std::make_unique<frmPersonalYear>(context_);
    context_.nagScreen = nagScreen_.get();
    context_.main = main_.get();
    context_.personalYear = personalYear_.get();
    context_.exitHandOver = [this](Form& closing) { ExitHandOver(closing); };
    context_.checkUpdateReminder = [this] { CheckUpdateReminder(platform_); };
    context_.unloadAllAndEnd = [this] { UnloadAllAndEnd(); };

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = HelperProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kHelperClass;
    RegisterClassExW(&wc);
    helper_ = CreateWindowExW(0, kHelperClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), this);
}

App::~App() {
    if (helper_) DestroyWindow(helper_);
}

void App::Start() { nagScreen_->Load(); }

bool App::IsFormWindow(HWND hwnd) const {
    for (const Form* form : forms_.Loaded()) {
        if (form->Hwnd() == hwnd) return true;
    }
    return false;
}

void App::Dispatch(MSG& msg) {
    // The dialog manager gives every form Tab order and access keys.
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root && IsFormWindow(root) && IsDialogMessageW(root, &msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

int App::Run() {
    MSG msg;
    while (!forms_.Ended() && GetMessageW(&msg, nullptr, 0, 0) > 0) Dispatch(msg);
    return 0;
}

void App::UnloadAllAndEnd() {
    if (forms_.Ended()) return;
    const std::vector<Form*> loaded = forms_.Loaded();
    for (Form* form : loaded) {
        // An unload handler may itself end the process; then nothing more runs here.
        IgnoringErrors([&] { form->Unload(); });
        if (forms_.Ended()) return;
    }
    forms_.MarkEnded();
    platform_.EndProcess(0);
}

void App::ExitHandOver(Form& closing) {
    // Until the exit screen takes over, the program ends once no window of
    // its own shows any more; Back shows the main window straight after this.
    closing.Unload();
    if (helper_) PostMessageW(helper_, kCheckForEnd, 0, 0);
}

void App::EndIfNoWindowShows() {
    for (const Form* form : forms_.Loaded()) {
        if (form->IsVisible()) return;
    }
    UnloadAllAndEnd();
}

LRESULT CALLBACK App::HelperProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lp);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<App*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && msg == kCheckForEnd) {
        IgnoringErrors([&] { self->EndIfNoWindowShows(); });
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace annuvia
