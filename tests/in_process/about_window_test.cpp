// The About window, opened from the main window's menu and shown modally:
// its texts, its links, the keys that press OK, and the modal state.
// The modal loop runs inside mnuAbout_Click; the checks run inside it from a
// timer, and a second timer closes the window if a check leaves it up.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "resource.h"
#include "support/build_values.h"
#include "in_process/recording_platform.h"

namespace annuvia::test {
namespace {

using A = frmAbout;
using M = frmMain;
constexpr UINT kGuardMs = 5000;

// What the timers run: the body once the About window is up, the guard if it stays up.
struct Script {
    static inline std::function<void()> body;
    static inline frmAbout* about = nullptr;
    static inline bool timedOut = false;
};

void CALLBACK RunBody(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    std::function<void()> body = std::move(Script::body);
    Script::body = nullptr;
    if (body) body();
}

void CALLBACK Guard(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    Script::timedOut = true;
    if (Script::about) Script::about->Unload();
}

// What the About window's destruction found: the main window enabled and active.
struct AtDestroy {
    static inline HWND about = nullptr, main = nullptr;
    static inline bool seen = false, mainEnabled = false, mainActive = false;
};

LRESULT CALLBACK WatchDestroy(int code, WPARAM wp, LPARAM lp) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lp);
    if (code == HC_ACTION && call->message == WM_DESTROY && call->hwnd == AtDestroy::about) {
        AtDestroy::seen = true;
        AtDestroy::mainEnabled = IsWindowEnabled(AtDestroy::main) != FALSE;
        AtDestroy::mainActive = GetActiveWindow() == AtDestroy::main;
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

class AboutWindow : public testing::Test {
public:
    void SetUp() override {
        SetCursorPos(0, 0);  // keep the real pointer off the windows
        app.Start();
        Pump(app);
        ASSERT_TRUE(main().IsVisible());
        ASSERT_EQ(GetFocus(), main().Control(M::txtFirstName));
    }
    void TearDown() override { Script::about = nullptr; }

    frmMain& main() { return app.Main(); }
    frmAbout& about() { return app.About(); }
    HWND C(int id) { return about().Control(id); }

    // Chooses Help, About Software; body runs while the About window is up.
    // Returns whether the modal call came back without the guard closing the window.
    bool WhileAboutIsUp(std::function<void()> body) {
        Script::body = std::move(body);
        Script::about = &about();
        Script::timedOut = false;
        const UINT_PTR start = SetTimer(nullptr, 0, 1, RunBody);
        const UINT_PTR guard = SetTimer(nullptr, 0, kGuardMs, Guard);
        SendMessageW(main().Hwnd(), WM_COMMAND, MAKEWPARAM(M::mnuAbout, 0), 0);
        KillTimer(nullptr, start);
        KillTimer(nullptr, guard);
        Script::body = nullptr;
        return !Script::timedOut;
    }

    RecordingPlatform platform;
    App app{platform};
};

TEST_F(AboutWindow, WindowIsAFixedOwnedDialogCentredWithTheProgramIcon) {
    const auto whileUp = [&] {
        HWND w = about().Hwnd();
        EXPECT_EQ(WindowText(w), kTitle);
        const LONG_PTR style = GetWindowLongPtrW(w, GWL_STYLE);
        EXPECT_TRUE(style & WS_CAPTION);
        EXPECT_TRUE(style & WS_SYSMENU);
        EXPECT_FALSE(style & WS_MINIMIZEBOX);
        EXPECT_FALSE(style & WS_MAXIMIZEBOX);
        EXPECT_FALSE(style & WS_THICKFRAME);
        // No taskbar button: owned by the main window, not an app window.
        EXPECT_EQ(GetWindow(w, GW_OWNER), main().Hwnd());
        EXPECT_FALSE(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_APPWINDOW);
        // The program icon, the window's own or its class's.
        EXPECT_TRUE(SendMessageW(w, WM_GETICON, ICON_BIG, 0) || GetClassLongPtrW(w, GCLP_HICON));
        EXPECT_TRUE(SendMessageW(w, WM_GETICON, ICON_SMALL, 0) || GetClassLongPtrW(w, GCLP_HICONSM));
        RECT rc;
        MONITORINFO info{};
        info.cbSize = sizeof info;
        GetMonitorInfoW(MonitorFromWindow(w, MONITOR_DEFAULTTOPRIMARY), &info);
        GetWindowRect(w, &rc);
        EXPECT_NEAR(rc.left - info.rcWork.left, info.rcWork.right - rc.right, 1);
        EXPECT_NEAR(rc.top - info.rcWork.top, info.rcWork.bottom - rc.bottom, 1);
        about().Unload();
    };
    ASSERT_TRUE(WhileAboutIsUp(whileUp));
}

// Where each control stands, its font and that its text fits at every DPI:
// the layout table (layout_test.cpp).
TEST_F(AboutWindow, ControlsShowTheirTextsAndTheLineIsWhite) {
    struct Case {
        int id;
        std::wstring text;
    };
    const std::wstring description =
        L"Annuvia Software gives you an idea about the trends and influences of the particular year on "
        L"your life. This number can be calculated by adding the digits of your birthday, your month of "
        L"birth and your year of birth. There are 9 personal years with nine different types of levels of "
        L"development. So this software helps you in reevaluate whether you are able to deal with the "
        L"problems more efficiently than nine years ago. All rights in this software are held by "
        + kHost + L".";
    const Case cases[] = {
        {A::Picture1, L""},
        {A::Label2, kTitle},
        {A::Label1, description},
        {A::lblHomePage, L"Click here to visit " + kHost},
        {A::Label3,
         L"Home Business Opportunity. Start your own Internet business and make money online. Get this "
         L"software fully branded for your website. "},
        {A::lblCobrand, L"Click here for more details."},
        {A::Line1, L""},
        {A::cmdOK, L"OK"},
    };
    const auto whileUp = [&] {
        ASSERT_EQ(about().Dpi(), 96u);
        for (const Case& c : cases) {
            HWND control = C(c.id);
            ASSERT_NE(control, nullptr) << c.id;
            EXPECT_EQ(WindowText(control), c.text) << c.id;
        }
        // The white line is one pixel high and white; the icon box shows the icon.
        HDC screen = GetDC(about().Hwnd());
        RECT line;
        GetWindowRect(C(A::Line1), &line);
        MapWindowPoints(nullptr, about().Hwnd(), reinterpret_cast<POINT*>(&line), 2);
        UpdateWindow(about().Hwnd());
        RedrawWindow(about().Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        EXPECT_EQ(GetPixel(screen, 100, line.top), kWhite);
        EXPECT_EQ(GetPixel(screen, 100, line.top + 1), kFormBlue);
        EXPECT_EQ(GetPixel(screen, 100, line.top - 1), kFormBlue);
        ReleaseDC(about().Hwnd(), screen);
        about().Unload();
    };
    ASSERT_TRUE(WhileAboutIsUp(whileUp));
}

TEST_F(AboutWindow, EachLinkOpensItsOwnPageAndTheWindowStays) {
    struct Case { int id; const wchar_t* key; };
    const Case cases[] = {{A::lblHomePage, L"home-page"}, {A::lblCobrand, L"fully-branded"}};
    const auto whileUp = [&] {
        HCURSOR hand = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_HAND_POINTER));
        for (const Case& c : cases) {
            platform.pages.clear();
            SendMessageW(C(c.id), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
            SendMessageW(C(c.id), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
            Pump(app);
            EXPECT_EQ(platform.pages, (std::vector<std::wstring>{kPage + c.key})) << c.id;
            EXPECT_TRUE(about().IsVisible()) << c.id;
            EXPECT_FALSE(IsWindowEnabled(main().Hwnd())) << c.id;
            SetCursor(LoadCursorW(nullptr, IDC_ARROW));
            SendMessageW(C(c.id), WM_SETCURSOR, reinterpret_cast<WPARAM>(C(c.id)),
                         MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            EXPECT_EQ(GetCursor(), hand) << c.id;
        }
        // Nothing else reacts to a click.
        platform.pages.clear();
        for (int id : {int(A::Label1), int(A::Label2), int(A::Label3), int(A::Picture1)}) {
            SendMessageW(C(id), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
            SendMessageW(C(id), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        }
        Pump(app);
        EXPECT_TRUE(platform.pages.empty());
        about().Unload();
    };
    ASSERT_TRUE(WhileAboutIsUp(whileUp));
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(AboutWindow, IsModalUntilClosedAndOpensAfreshEachTime) {
    // Each way of closing it, one showing after the other.
    struct Case { const char* how; std::function<void(AboutWindow&)> close; };
    const Case cases[] = {
        {"OK", [](AboutWindow& t) { PostMessageW(t.C(A::cmdOK), BM_CLICK, 0, 0); }},
        {"close box", [](AboutWindow& t) { PostMessageW(t.about().Hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"Enter", [](AboutWindow& t) { PostMessageW(t.C(A::cmdOK), WM_KEYDOWN, VK_RETURN, 0); }},
        {"Esc", [](AboutWindow& t) { PostMessageW(t.C(A::cmdOK), WM_KEYDOWN, VK_ESCAPE, 0); }},
        // Whatever has the focus, Enter and Esc press OK.
        {"Enter elsewhere", [](AboutWindow& t) {
             SetFocus(t.C(A::Label1));
             PostMessageW(t.C(A::Label1), WM_KEYDOWN, VK_RETURN, 0);
         }},
        {"Esc elsewhere", [](AboutWindow& t) {
             SetFocus(t.about().Hwnd());
             PostMessageW(t.about().Hwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
         }},
    };
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, WatchDestroy, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    HWND previous = nullptr;
    for (const Case& c : cases) {
        bool wasUp = false;
        AtDestroy::seen = false;
        AtDestroy::main = main().Hwnd();
        const auto whileUp = [&] {
            wasUp = true;
            HWND w = about().Hwnd();
            EXPECT_NE(w, previous) << c.how;  // a new window every time
            previous = w;
            AtDestroy::about = w;
            EXPECT_TRUE(about().IsVisible()) << c.how;
            EXPECT_TRUE(IsWindowEnabled(w)) << c.how;
            EXPECT_FALSE(IsWindowEnabled(main().Hwnd())) << c.how;
            EXPECT_EQ(GetActiveWindow(), w) << c.how;
            EXPECT_EQ(GetFocus(), C(A::cmdOK)) << c.how;
            // The main window activated anyway (from the taskbar, say) gives the activation back.
            SetActiveWindow(main().Hwnd());
            Pump(app);
            EXPECT_EQ(GetActiveWindow(), w) << c.how;
            EXPECT_EQ(GetFocus(), C(A::cmdOK)) << c.how;
            c.close(*this);
        };
        ASSERT_TRUE(WhileAboutIsUp(whileUp)) << c.how;
        EXPECT_TRUE(wasUp) << c.how;
        EXPECT_FALSE(about().IsLoaded()) << c.how;
        EXPECT_FALSE(IsWindow(previous)) << c.how;
        EXPECT_TRUE(AtDestroy::seen) << c.how;
        EXPECT_TRUE(AtDestroy::mainEnabled) << c.how;  // enabled and active before the window went
        EXPECT_TRUE(AtDestroy::mainActive) << c.how;
        EXPECT_TRUE(IsWindowEnabled(main().Hwnd())) << c.how;
        EXPECT_EQ(GetActiveWindow(), main().Hwnd()) << c.how;
        EXPECT_EQ(GetFocus(), main().Control(M::txtFirstName)) << c.how;
        EXPECT_EQ(app.Forms().Loaded(), (std::vector<Form*>{&app.NagScreen(), &main()})) << c.how;
    }
    UnhookWindowsHookEx(hook);
    EXPECT_TRUE(platform.pages.empty());
    EXPECT_TRUE(platform.ends.empty());
    EXPECT_TRUE(main().IsVisible());
}

// Ending the program from the task list closes the disabled main window: the
// exit screen comes up as ever, and the About window, gone with its owner, is
// unloaded with its modal showing.
TEST_F(AboutWindow, ClosingTheMainWindowFromOutsideUnloadsIt) {
    const HWND mainWindow = main().Hwnd();
    ASSERT_TRUE(WhileAboutIsUp([&] { PostMessageW(mainWindow, WM_CLOSE, 0, 0); }));
    EXPECT_FALSE(IsWindow(mainWindow));
    EXPECT_FALSE(about().IsLoaded());
    EXPECT_EQ(about().Hwnd(), nullptr);
    EXPECT_EQ(app.Forms().Loaded(), (std::vector<Form*>{&app.NagScreen(), &app.NagScreen2()}));
    EXPECT_FALSE(ReturnActivationToModal(app.Forms(), mainWindow));  // no modal window left
    EXPECT_TRUE(app.NagScreen2().IsVisible());
    EXPECT_TRUE(IsWindowEnabled(app.NagScreen2().Hwnd()));
    about().Show();
    EXPECT_TRUE(IsWindow(about().Hwnd()));
}

TEST_F(AboutWindow, TabGoesFromOkToEachLinkWhichEnterOrSpaceOpens) {
    const auto whileUp = [&] {
        struct Step { int focus; WPARAM key; const wchar_t* page; };
        const Step steps[] = {{A::lblHomePage, VK_RETURN, L"home-page"}, {A::lblCobrand, VK_SPACE, L"fully-branded"},
                              {A::cmdOK, 0, nullptr}};
        EXPECT_EQ(GetFocus(), C(A::cmdOK));
        for (const Step& step : steps) {
            platform.pages.clear();
            Key(app, GetFocus(), WM_KEYDOWN, VK_TAB);
            EXPECT_EQ(GetFocus(), C(step.focus)) << step.focus;
            if (!step.key) continue;
            Key(app, GetFocus(), WM_KEYDOWN, step.key);
            Key(app, GetFocus(), WM_CHAR, step.key);
            EXPECT_EQ(platform.pages, (std::vector<std::wstring>{kPage + step.page})) << step.focus;
            EXPECT_TRUE(about().IsLoaded()) << step.focus;
        }
        EXPECT_EQ(GetNextDlgTabItem(about().Hwnd(), C(A::cmdOK), TRUE), C(A::lblCobrand));  // Shift+Tab
        about().Unload();
    };
    ASSERT_TRUE(WhileAboutIsUp(whileUp));
}

TEST_F(AboutWindow, QuitMessageEndsTheModalLoopAndIsPassedOn) {
    const auto whileUp = [&] { PostQuitMessage(3); };
    ASSERT_TRUE(WhileAboutIsUp(whileUp));
    // Back out of the nested loop: the main window takes input again, the quit waits for the program's loop.
    EXPECT_TRUE(IsWindowEnabled(main().Hwnd()));
    MSG msg{};
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
    about().Unload();
    EXPECT_FALSE(about().IsLoaded());
}

}  // namespace
}  // namespace annuvia::test
