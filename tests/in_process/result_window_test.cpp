// The result window: locked text, the clipboard emptied on its events, Back.

#include <gtest/gtest.h>

#include <string>

#include "core/numerology/numerology.h"
#include "support/build_values.h"
#include "win32/win32_platform.h"
#include "in_process/recording_platform.h"

namespace annuvia::test {
namespace {

using M = frmMain;
using R = frmPersonalYear;

void ShowResult(App& app, int dayIndex, int monthIndex, int yearIndex) {
    frmMain& main = app.Main();
    SetWindowTextW(main.Control(M::txtFirstName), L"ANN");
    SetWindowTextW(main.Control(M::txtMiddleName), L"B");
    SetWindowTextW(main.Control(M::txtLastName), L"LEE");
    SendMessageW(main.Control(M::cboDate), CB_SETCURSEL, static_cast<WPARAM>(dayIndex), 0);
    SendMessageW(main.Control(M::cboMonth), CB_SETCURSEL, static_cast<WPARAM>(monthIndex), 0);
    SendMessageW(main.Control(M::cboYear), CB_SETCURSEL, static_cast<WPARAM>(yearIndex), 0);
    Click(main.Control(M::cmdNext));
    Pump(app);
}

class ResultWindow : public testing::Test {
protected:
    void SetUp() override {
        SetCursorPos(0, 0);  // keep the real pointer off the windows
        platform.today = {2026, 12, 8};
        app.Start();
        Pump(app);
        ShowResult(app, 28, 2, 76);  // 29 March 1976
        ASSERT_TRUE(result().IsVisible());
        platform.clipboardClears = 0;
    }
    frmPersonalYear& result() { return app.PersonalYear(); }
    HWND C(int id) { return result().Control(id); }

    RecordingPlatform platform;
    App app{platform};
};

TEST_F(ResultWindow, TextsStylesAndFocus) {
    // Where each control stands and its font: the layout table (layout_test.cpp).
    EXPECT_EQ(WindowText(result().Hwnd()), kTitle);
    EXPECT_EQ(WindowText(C(R::cmdback)), L"&Back");
    EXPECT_FALSE(IsWindowVisible(C(R::cmdprint)));
    const LONG style = GetWindowLongW(C(R::txtDisplay), GWL_STYLE);
    EXPECT_TRUE(style & ES_READONLY);
    EXPECT_TRUE(style & ES_MULTILINE);
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_FALSE(style & ES_AUTOHSCROLL);  // wraps at the box's width
    EXPECT_EQ(GetFocus(), C(R::cmdback));
    EXPECT_EQ(GetNextDlgTabItem(result().Hwnd(), C(R::cmdback), FALSE), C(R::txtDisplay));
    EXPECT_EQ(GetNextDlgTabItem(result().Hwnd(), C(R::txtDisplay), FALSE), C(R::Label61));
    EXPECT_EQ(GetWindow(C(R::fraFullBrand), GW_CHILD), C(R::lblFullBrand));
}

TEST_F(ResultWindow, MouseOverTheTextEmptiesTheClipboardAndNothingElseDoes) {
    HWND box = C(R::txtDisplay);
    struct Case { UINT msg; WPARAM wp; int clears; };
    const Case cases[] = {
        {WM_MOUSEMOVE, 0, 1},   {WM_LBUTTONDOWN, MK_LBUTTON, 1}, {WM_LBUTTONUP, 0, 2},  // up and click
        {WM_RBUTTONDOWN, MK_RBUTTON, 1}, {WM_MBUTTONUP, 0, 1},
        {WM_KEYDOWN, VK_RIGHT, 0}, {WM_CHAR, 'x', 0}, {WM_SETFOCUS, 0, 0},
    };
    for (const Case& c : cases) {
        platform.clipboardClears = 0;
        SendMessageW(box, c.msg, c.wp, MAKELPARAM(10, 10));
        if (c.msg == WM_RBUTTONDOWN) ReleaseCapture();
        EXPECT_EQ(platform.clipboardClears, c.clears) << c.msg;
    }
    // Typing into the locked box changes nothing and raises no change.
    EXPECT_EQ(WindowText(box), ResultText(6));
    SendMessageW(box, WM_KEYDOWN, VK_DELETE, 0);
    SendMessageW(box, WM_CHAR, VK_BACK, 0);
    EXPECT_EQ(WindowText(box), ResultText(6));
    EXPECT_EQ(platform.clipboardClears, 0);
}

TEST_F(ResultWindow, LinksOpenTheirPages) {
    struct Case { int id; const wchar_t* key; };
    for (const Case& c : {Case{R::Label61, L"home-page"}, Case{R::lblFullBrand, L"fully-branded"},
                          Case{R::lblCobrand, L"co-brand"}}) {
        platform.pages.clear();
        SendMessageW(C(c.id), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        EXPECT_EQ(platform.pages, (std::vector<std::wstring>{kPage + c.key}));
    }
}

TEST_F(ResultWindow, BackBringsTheMainWindowBackWithItsEntries) {
    HWND oldWindow = result().Hwnd();
    Key(app, C(R::cmdback), WM_SYSCHAR, 'b', 1 << 29);  // Alt+B
    Pump(app);
    EXPECT_FALSE(result().IsLoaded());
    EXPECT_FALSE(IsWindow(oldWindow));
    frmMain& main = app.Main();
    ASSERT_TRUE(main.IsVisible());
    EXPECT_EQ(WindowText(main.Control(M::txtFirstName)), L"ANN");
    EXPECT_EQ(WindowText(main.Control(M::txtMiddleName)), L"B");
    EXPECT_EQ(WindowText(main.Control(M::txtLastName)), L"LEE");
    EXPECT_EQ(ListText(main.Control(M::cboDate)), L"29");
    EXPECT_EQ(ListText(main.Control(M::cboMonth)), L"March");
    EXPECT_EQ(ListText(main.Control(M::cboYear)), L"1976");
    EXPECT_TRUE(platform.ends.empty());

    // A second Next starts from an empty box and shows only the new result.
    ShowResult(app, 18, 11, 0);  // 19 December
    ASSERT_TRUE(result().IsVisible());
    EXPECT_EQ(WindowText(C(R::txtDisplay)), ResultText(1 + (19 + 12 + 2026 - 1) % 9));
}

TEST_F(ResultWindow, ClosingItShowsTheExitScreenWithTheMainWindowHiddenAndItsExitEndsAll) {
    SendMessageW(result().Hwnd(), WM_CLOSE, 0, 0);
    Pump(app);
    EXPECT_FALSE(result().IsLoaded());
    EXPECT_TRUE(app.Main().IsLoaded());
    EXPECT_FALSE(app.Main().IsVisible());
    EXPECT_TRUE(app.NagScreen2().IsVisible());
    EXPECT_TRUE(platform.ends.empty());
    Click(app.NagScreen2().Control(frmNagScreen2::cmdClose));
    EXPECT_EQ(platform.ends, (std::vector<unsigned>{0}));
}

// The clipboard rule through the real system clipboard: what the user copied
// in another program or out of a name box survives the mouse; what was copied
// out of the result is gone at the next move, press or release of the mouse over it.
TEST(ResultWindowClipboard, OnlyTextCopiedFromTheResultIsEmptiedByTheMouse) {
    class RealClipboard final : public FakePlatform {
    public:
        void ClearClipboard(WindowRef copiedFrom) override { real.ClearClipboard(copiedFrom); }
        Win32Platform real;
    } platform;
    App app(platform);
    app.Start();
    ShowResult(app, 0, 0, 0);
    HWND box = app.PersonalYear().Control(R::txtDisplay);
    ASSERT_NE(box, nullptr);
    HWND otherProgram = GetDesktopWindow();  // the desktop's process, not this one
    DWORD otherProcess = 0;
    GetWindowThreadProcessId(otherProgram, &otherProcess);
    ASSERT_NE(otherProcess, GetCurrentProcessId());

    HWND nameBox = app.Main().Control(M::txtFirstName);
    for (HWND owner : {HWND{nullptr}, otherProgram, nameBox}) {
        if (owner == nameBox) {
            SendMessageW(nameBox, EM_SETSEL, 0, -1);
            SendMessageW(nameBox, WM_COPY, 0, 0);
        }
        ASSERT_TRUE(owner == nameBox ? GetClipboardOwner() == nameBox : PutClipboardText(L"copied elsewhere", owner));
        for (UINT mouse : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP})
            SendMessageW(box, mouse, mouse == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(20, 20));
        EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT)) << owner;
    }
    struct Case { UINT msg; WPARAM wp; };
    for (const Case& c : {Case{WM_MOUSEMOVE, 0}, Case{WM_LBUTTONDOWN, MK_LBUTTON}, Case{WM_MBUTTONUP, 0}}) {
        SendMessageW(box, EM_SETSEL, 0, 4);
        SendMessageW(box, WM_COPY, 0, 0);
        ASSERT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
        SendMessageW(box, WM_KEYDOWN, VK_DOWN, 0);  // keys leave it
        EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT)) << c.msg;
        SendMessageW(box, c.msg, c.wp, MAKELPARAM(20, 20));
        EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT)) << c.msg;
        if (c.msg == WM_LBUTTONDOWN) SendMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    }
}

}  // namespace
}  // namespace annuvia::test
