// The form lifetime: load on first use, show and hide without losing state,
// unload with its handler, load order, and re-entrance from unload handlers.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/app.h"
#include "forms/form.h"
#include "windows/recording_platform.h"

namespace annuvia::test {
namespace {

constexpr ControlSpec kTestControls[] = {
    {.id = 10, .kind = ControlKind::Frame, .caption = L"Box", .at = {120, 120, 3000, 1500}},
    {.id = 11, .parent = 10, .kind = ControlKind::TextBox, .at = {150, 300, 1500, 285}},
};

class TestForm final : public Form {
public:
    TestForm(FormRegistry& registry, std::string name, std::vector<std::string>& log)
        : Form(registry, FormDesign{L"Annuvia_TestForm", L"Test", 4500, 2250, kFormBlue, kTestControls}),
          name_(std::move(name)), log_(log) {}

    std::function<void()> onUnload;

private:
    void Form_Load() override { log_.push_back("load " + name_); }
    void Form_Unload() override {
        log_.push_back("unload " + name_);
        if (onUnload) onUnload();
    }
    std::string name_;
    std::vector<std::string>& log_;
};

class FormLifetime : public testing::Test {
protected:
    RecordingPlatform platform;
    App app{platform};
    std::vector<std::string> log;
    TestForm a{app.Forms(), "a", log};
    TestForm b{app.Forms(), "b", log};
    TestForm c{app.Forms(), "c", log};
};

TEST_F(FormLifetime, LoadsOnFirstShowAndKeepsStateAcrossHideAndShow) {
    EXPECT_FALSE(a.IsLoaded());
    a.Show();
    ASSERT_TRUE(a.IsLoaded());
    EXPECT_TRUE(a.IsVisible());
    SetWindowTextW(a.Control(11), L"kept");
    a.Hide();
    EXPECT_FALSE(a.IsVisible());
    a.Hide();  // hiding a hidden form changes nothing
    a.Show();
    a.Show();  // showing a visible form changes nothing
    EXPECT_TRUE(a.IsVisible());
    EXPECT_EQ(Text(a.Control(11)), L"kept");
    EXPECT_EQ(log, (std::vector<std::string>{"load a"}));
}

TEST_F(FormLifetime, UnloadRunsItsHandlerOnceAndDestroysTheWindow) {
    a.Show();
    HWND window = a.Hwnd();
    a.onUnload = [&] { a.Unload(); };  // unloading while being unloaded is a no-op
    a.Unload();
    a.Unload();
    EXPECT_FALSE(a.IsLoaded());
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(log, (std::vector<std::string>{"load a", "unload a"}));
    // Loaded afresh: a new window with empty controls.
    a.Show();
    EXPECT_EQ(Text(a.Control(11)), L"");
    EXPECT_EQ(log.back(), "load a");
}

TEST_F(FormLifetime, KeepsLoadedFormsInLoadOrder) {
    c.Load();
    a.Show();
    b.Load();
    a.Unload();
    a.Load();
    app.Main().Load();
    EXPECT_EQ(app.Forms().Loaded(), (std::vector<Form*>{&c, &b, &a, &app.Main()}));
}

TEST_F(FormLifetime, UnloadHandlerMayShowHideAndUnloadOtherForms) {
    a.Show();
    b.Show();
    c.Load();
    a.onUnload = [&] {
        a.Show();    // no effect while unloading
        a.Hide();
        b.Hide();
        c.Show();
        b.Unload();
        a.Unload();  // itself again: no-op
    };
    a.Unload();
    EXPECT_FALSE(a.IsLoaded());
    EXPECT_FALSE(b.IsLoaded());
    EXPECT_TRUE(c.IsVisible());
    EXPECT_EQ(log, (std::vector<std::string>{"load a", "load b", "load c", "unload a", "unload b"}));
    EXPECT_EQ(app.Forms().Loaded(), (std::vector<Form*>{&c}));
}

TEST_F(FormLifetime, UnloadAllAndEndVisitsLoadOrderAndEndsOnceWhenReentered) {
    a.Load();
    b.Load();
    c.Load();
    // b's handler ends the program itself, as the exit screen's does.
    b.onUnload = [&] { app.UnloadAllAndEnd(); };
    app.UnloadAllAndEnd();
    EXPECT_EQ(platform.ends, (std::vector<unsigned>{0}));
    EXPECT_EQ(log, (std::vector<std::string>{"load a", "load b", "load c", "unload a", "unload b",
                                             "unload c"}));
    // After the end nothing runs any more.
    a.Show();
    app.UnloadAllAndEnd();
    EXPECT_EQ(platform.ends.size(), 1u);
    EXPECT_FALSE(a.IsLoaded());
}

TEST_F(FormLifetime, ControlsInsideFramesCountFromTheFrameCorner) {
    a.Load();
    ASSERT_EQ(a.Dpi(), 96u);
    RECT client;
    GetClientRect(a.Hwnd(), &client);
    EXPECT_EQ(client.right, 300);  // 4500 twips
    EXPECT_EQ(client.bottom, 150);  // 2250 twips
    HWND box = a.Control(11);
    EXPECT_EQ(GetParent(box), a.Control(10));
    RECT rc;
    GetWindowRect(box, &rc);
    MapWindowPoints(nullptr, a.Control(10), reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_EQ(rc.left, 10);
    EXPECT_EQ(rc.top, 20);
    EXPECT_EQ(rc.right - rc.left, 100);
    EXPECT_EQ(rc.bottom - rc.top, 19);
}

}  // namespace
}  // namespace annuvia::test
