// The keyboard rules of the main and result windows: where Tab and Shift+Tab
// go, what Esc leaves alone and which button Enter presses.

#include <gtest/gtest.h>

#include "in_process/recording_platform.h"

namespace annuvia::test {
namespace {

using M = frmMain;
using R = frmPersonalYear;

class Keyboard : public testing::Test {
protected:
    void SetUp() override {
        SetCursorPos(0, 0);
        app.Start();
        Pump(app);
    }
    RecordingPlatform platform;
    App app{platform};
};

TEST_F(Keyboard, TabAndShiftTabLeaveTheResultTextAndEscLeavesTheWindowUp) {
    FillAndNext(app);
    frmPersonalYear& result = app.PersonalYear();
    HWND back = result.Control(R::cmdback), text = result.Control(R::txtDisplay);
    ASSERT_EQ(GetFocus(), back);
    // After Back and the text, the links: the promotion and the banner in front.
    HWND promotion = result.Control(R::Label61), banner = result.Control(R::lblFullBrand);
    const struct { HWND from; bool shift; HWND to; } moves[] = {
        {back, false, text}, {text, false, promotion}, {banner, false, back}, {back, true, banner}, {text, true, back}};
    for (const auto& m : moves) {
        SetFocus(m.from);
        if (m.shift) {
            BYTE keys[256] = {};
            GetKeyboardState(keys);
            keys[VK_SHIFT] = 0x80;
            SetKeyboardState(keys);
        }
        Key(app, m.from, WM_KEYDOWN, VK_TAB);
        Key(app, m.from, WM_KEYUP, VK_TAB);
        if (m.shift) {
            BYTE keys[256] = {};
            GetKeyboardState(keys);
            keys[VK_SHIFT] = 0;
            SetKeyboardState(keys);
        }
        EXPECT_EQ(GetFocus(), m.to);
    }
    SetFocus(text);
    Key(app, text, WM_KEYDOWN, VK_ESCAPE);
    Key(app, text, WM_CHAR, VK_ESCAPE);
    SendMessageW(text, WM_KEYDOWN, VK_ESCAPE, 0);  // even reaching the box itself
    Pump(app);
    EXPECT_TRUE(result.IsVisible());
    EXPECT_TRUE(platform.ends.empty());
}

TEST_F(Keyboard, EnterPressesTheFocusedButton) {
    HWND next = app.Main().Control(M::cmdNext);
    SetFocus(next);
    Key(app, next, WM_KEYDOWN, VK_RETURN);
    ASSERT_EQ(platform.messages.size(), 1u);  // Next ran its checks
    EXPECT_EQ(platform.messages[0].text, L"Please Enter Your First Name");
    EXPECT_EQ(platform.messages[0].owner, app.Main().Hwnd());

    FillAndNext(app);
    HWND back = app.PersonalYear().Control(R::cmdback);
    ASSERT_EQ(GetFocus(), back);
    Key(app, back, WM_KEYDOWN, VK_RETURN);
    EXPECT_FALSE(app.PersonalYear().IsLoaded());
    EXPECT_TRUE(app.Main().IsVisible());
}

}  // namespace
}  // namespace annuvia::test
