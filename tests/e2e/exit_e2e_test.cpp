// The way out of the real program: the exit screen comes up above everything
// when the user leaves the main or the result window, and only the exit
// screen ends the process. Its refer-a-friend form reaches the real browser.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/driver.h"
#include "core/web/gateway.h"

namespace e2e {
namespace {

bool SetText(HWND control, const wchar_t* text) {
    DWORD_PTR ok = 0;
    return SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                               kTimeoutMs, &ok) != 0 &&
           ok == TRUE;
}

class ExitE2E : public testing::Test {
protected:
    void SetUp() override {
        std::wstring error;
        ASSERT_TRUE(browser.Install(&error)) << Narrow(error);
        ASSERT_TRUE(program.Start()) << Narrow(program.Error());
        main = WaitForTopWindow(kMainClass, kWindowTitle, program.Pid());
        ASSERT_NE(main, nullptr) << "the main window did not show";
        ASSERT_TRUE(WaitUntilIdle(main));
    }

    // The exit screen, up and idle, alone among the program's visible windows and above other windows.
    HWND ExpectExitScreenAlone() {
        HWND screen = WaitForTopWindow(kExitClass, kWindowTitle, program.Pid());
        EXPECT_NE(screen, nullptr) << "no exit screen";
        if (!screen) return nullptr;
        EXPECT_TRUE(WaitUntilIdle(screen));
        EXPECT_TRUE(GetWindowLongW(screen, GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_EQ(VisibleWindowsOf(program.Pid()), std::vector<HWND>{screen});
        GUITHREADINFO thread{};
        thread.cbSize = sizeof thread;
        EXPECT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(screen, nullptr), &thread));
        EXPECT_EQ(thread.hwndFocus, FindControl(screen, ids::Exit::cmdClose)) << "Exit does not hold the focus";
        return screen;
    }

    void ExpectEndWithEveryWindowGone(HWND screen) {
        ASSERT_TRUE(program.WaitForExit(10000)) << Narrow(program.Error());
        EXPECT_EQ(program.ExitCode(), 0u);
        EXPECT_FALSE(IsWindow(screen));
        EXPECT_FALSE(IsWindow(main));
    }

    BrowserRecorder browser;
    ProgramRun program;
    HWND main = nullptr;
};

TEST_F(ExitE2E, FileExitShowsTheExitScreenAndItsExitButtonEndsTheProgram) {
    ASSERT_TRUE(PostMessageW(main, WM_COMMAND, MAKEWPARAM(ids::mnuExit, 0), 0));
    HWND screen = ExpectExitScreenAlone();
    ASSERT_NE(screen, nullptr);
    EXPECT_FALSE(IsWindow(main)) << "the main window is still there";
    ASSERT_TRUE(PostClick(FindControl(screen, ids::Exit::cmdClose)));
    ExpectEndWithEveryWindowGone(screen);
    EXPECT_TRUE(browser.Addresses().empty()) << "ending opened a page";
}

TEST_F(ExitE2E, ResultWindowCloseBoxShowsTheExitScreenAndItsCloseBoxEndsTheProgram) {
    ASSERT_TRUE(TypeText(FindControl(main, ids::txtFirstName), L"ann"));
    ASSERT_TRUE(TypeText(FindControl(main, ids::txtLastName), L"lee"));
    ASSERT_TRUE(PostClick(FindControl(main, ids::cmdNext)));
    HWND result = WaitForTopWindow(kResultClass, kWindowTitle, program.Pid());
    ASSERT_NE(result, nullptr) << "no result window after Next";
    ASSERT_TRUE(WaitUntilIdle(result));

    ASSERT_TRUE(PostMessageW(result, WM_SYSCOMMAND, SC_CLOSE, 0));
    HWND screen = ExpectExitScreenAlone();
    ASSERT_NE(screen, nullptr);
    EXPECT_FALSE(IsWindow(result));
    EXPECT_TRUE(IsWindow(main)) << "the main window stays loaded, hidden";
    ASSERT_TRUE(PostMessageW(screen, WM_SYSCOMMAND, SC_CLOSE, 0));
    ExpectEndWithEveryWindowGone(screen);
}

TEST_F(ExitE2E, ReferAFriendOpensTheReferralPageWithTheTypedValues) {
    ASSERT_TRUE(PostMessageW(main, WM_CLOSE, 0, 0));
    HWND screen = ExpectExitScreenAlone();
    ASSERT_NE(screen, nullptr);
    ASSERT_TRUE(SetText(FindControl(screen, ids::Exit::txtName), L" Ann Lee "));
    ASSERT_TRUE(SetText(FindControl(screen, ids::Exit::txtEmail), L"ann@x.com"));
    ASSERT_TRUE(SetText(FindControl(screen, ids::Exit::txtFriendEmail), L"bo@y.org"));
    ASSERT_TRUE(SetText(FindControl(screen, ids::Exit::txtFriendName), L"Bo"));
    ASSERT_TRUE(PostClick(FindControl(screen, ids::Exit::cmdSubmit)));
    ASSERT_TRUE(browser.WaitForCount(1)) << "nothing reached the browser";
    const std::string base = Narrow(ANNUVIA_GATEWAY_BASE);
    EXPECT_EQ(browser.Addresses(),
              std::vector<std::string>{base + "/annuvia/ssd.php?page=kzvx-refer-a-friend&taf1=Ann%20Lee"
                                              "&taf2=ann%40x.com&taf3=Your%20Message%0D%0A&taf4=Bo"
                                              "&taf5=bo%40y.org&taf6=" + base + "/annuvia/"});

    // A failed check: its box belongs to the exit screen, which stays up.
    ASSERT_TRUE(SetText(FindControl(screen, ids::Exit::txtFriendName), L""));
    ASSERT_TRUE(PostClick(FindControl(screen, ids::Exit::cmdSubmit)));
    HWND box = WaitForMessageBox(program.Pid());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(Narrow(MessageBoxText(box)), "Please Enter Your Friend's Name");
    EXPECT_EQ(GetWindow(box, GW_OWNER), screen);
    ASSERT_TRUE(PressOk(box));
    EXPECT_TRUE(IsWindowVisible(screen));
    EXPECT_EQ(browser.Addresses().size(), 1u);
    ASSERT_TRUE(PostClick(FindControl(screen, ids::Exit::cmdClose)));
    ExpectEndWithEveryWindowGone(screen);
}

}  // namespace
}  // namespace e2e
