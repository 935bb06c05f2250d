#include "app/app.h"

#include <commctrl.h>

#include "core/web/modHelp.h"
#include "win32/bench_marks.h"

namespace annuvia {

App::App(Platform& platform) : platform_(platform) {
    nagScreen_ = std::make_unique<frmNagScreen>(forms_, platform, *this);
    main_ = std::make_unique<frmMain>(forms_, platform, *this);
    personalYear_ = std::make_unique<frmPersonalYear>(forms_, platform, *this);
    about_ = std::make_unique<frmAbout>(forms_, platform);
    nagScreen2_ = std::make_unique<frmNagScreen2>(forms_, platform, *this);
    forms_.dispatch = [this](MSG& msg) { Dispatch(msg); };
    forms_.highContrast = [this] { return platform_.HighContrast(); };
}

App::~App() = default;

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
    for (;;) {
#ifdef ANNUVIA_BENCH_MARKS
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) ANNUVIA_MARK_FIRST_IDLE();
#endif
        if (forms_.Ended() || GetMessageW(&msg, nullptr, 0, 0) <= 0) break;
        Dispatch(msg);
    }
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

void App::CheckUpdateReminder() {
    // Asked at most once a run: the stored date stops a second question only
    // where the store could be written.
    if (!reminderAsked_) reminderAsked_ = annuvia::CheckUpdateReminder(platform_);
}

void App::ShowMainWindow() {
    EachStep([&] { main_->Show(); }, [&] { nagScreen_->Hide(); }, [&] { nagScreen2_->Hide(); });
}

void App::BringBannerToFront(FrontBanner banner) { main_->BringBannerToFront(banner); }

void App::ShowResult(annuvia::PersonalYear number) {
    personalYear_->Show();
    personalYear_->ShowReading(number);
}

// Modal over the main window, which takes no input while it is up.
// Owned by the main window, so without a taskbar button of its own.
void App::ShowAbout() { about_->ShowModal(main_->IsLoaded() ? main_->Hwnd() : nullptr); }

HICON App::StartUpWindowIcon() {
    HIMAGELIST images = nagScreen_->IMGIcon();
    return images ? ImageList_GetIcon(images, 0, ILD_NORMAL) : nullptr;
}

void App::ExitHandOver(Form& /*closing: it unloads itself*/) {
    // Run a second time, from the closing window's unload handler, every step
    // finds its work done: the exit screen is shown, the start-up window hidden.
    frmNagScreen2& exitScreen = *nagScreen2_;
    exitScreen.Show();  // loads it first when needed; its load shows it, topmost
    // Shown, it takes the activation, so that its Exit button has the focus.
    if (!forms_.Ended() && exitScreen.IsVisible() && GetForegroundWindow() != exitScreen.Hwnd())
        SetForegroundWindow(exitScreen.Hwnd());
    nagScreen_->Hide();
}

}  // namespace annuvia
