// Start-up through the hidden start-up window: the instance guard, the
// reminder before the main window shows, the banner draw.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/web/modHelp.h"
#include "in_process/recording_platform.h"

namespace annuvia::test {
namespace {

using M = frmMain;
using R = frmPersonalYear;

TEST(StartUp, LoadsTheHiddenStartUpWindowFirstThenShowsTheMainWindow) {
    RecordingPlatform platform;
    App app(platform);
    app.Start();
    Pump(app);
    ASSERT_EQ(app.Forms().Loaded().size(), 2u);
    EXPECT_EQ(app.Forms().Loaded()[0], &app.NagScreen());
    EXPECT_EQ(app.Forms().Loaded()[1], &app.Main());
    EXPECT_FALSE(IsWindowVisible(app.NagScreen().Hwnd()));
    EXPECT_TRUE(app.Main().IsVisible());
    EXPECT_EQ(platform.instanceChecks, 1);
    EXPECT_EQ(platform.seeds, 1);
    // The reminder ran twice: the first run stored today, the second found it.
    EXPECT_EQ(platform.settingWrites, 1);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_TRUE(platform.ends.empty());
    // The program icon, 32 x 32, as the one image of the start-up window's list.
    HIMAGELIST icons = app.NagScreen().IMGIcon();
    ASSERT_NE(icons, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(icons), 1);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(icons, &cx, &cy);
    EXPECT_EQ(cx, 32);
    EXPECT_EQ(cy, 32);
}

TEST(StartUp, EveryWindowComesUpCentredOnThePrimaryWorkArea) {
    RecordingPlatform platform;
    App app(platform);
    app.Start();
    Pump(app);
    MONITORINFO screen{};
    screen.cbSize = sizeof screen;
    GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &screen);
    const RECT& work = screen.rcWork;
    const struct {
        const char* name;
        std::function<Form&()> open;
    } cases[] = {
        {"main", [&]() -> Form& { return app.Main(); }},
        {"result", [&]() -> Form& { FillAndNext(app); return app.PersonalYear(); }},
        {"exit screen", [&]() -> Form& { app.NagScreen2().Show(); return app.NagScreen2(); }},
    };
    for (const auto& c : cases) {
        Form& form = c.open();
        ASSERT_TRUE(form.IsVisible()) << c.name;
        RECT rc;
        GetWindowRect(form.Hwnd(), &rc);
        EXPECT_NEAR(rc.left - work.left, work.right - rc.right, 1) << c.name;
        EXPECT_NEAR(rc.top - work.top, work.bottom - rc.bottom, 1) << c.name;
    }
}

TEST(StartUp, SecondCopySaysSoAndEndsWithoutShowingAWindow) {
    RecordingPlatform platform;
    platform.anotherInstance = true;
    App app(platform);
    bool anyVisible = true;
    platform.onMessage = [&] { anyVisible = app.Main().IsLoaded() || IsWindowVisible(app.NagScreen().Hwnd()); };
    app.Start();
    ASSERT_EQ(platform.messages.size(), 1u);
    const RecordedMessage& box = platform.messages[0];
    EXPECT_EQ(box.text, L"Application is already running");
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(box.buttons, MsgButtons::OK);
    EXPECT_EQ(box.icon, MsgIcon::Information);
    EXPECT_EQ(box.title, L"Annuvia");
    EXPECT_FALSE(anyVisible);
    EXPECT_EQ(platform.ends, (std::vector<unsigned>{0}));
    EXPECT_FALSE(app.Main().IsLoaded());
    EXPECT_EQ(platform.settingWrites, 0);
    EXPECT_EQ(platform.seeds, 0);
    EXPECT_EQ(app.Run(), 0);  // the loop does not start after the end
}

TEST(StartUp, DueReminderAsksBeforeAnyWindowShowsAndOnlyOnce) {
    RecordingPlatform platform;
    const std::wstring key = EncodeSetting(platform, L"Duration");
    platform.settings[{L"annuvia", L"Settings", key}] = EncodeSetting(platform, L"11/1/2026");
    platform.answers = {MsgAnswer::Yes};
    App app(platform);
    bool mainVisible = true;
    platform.onMessage = [&] { mainVisible = app.Main().IsVisible(); };
    app.Start();
    Pump(app);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_FALSE(mainVisible);
    EXPECT_TRUE(app.Main().IsVisible());
    EXPECT_EQ(platform.pages, (std::vector<std::wstring>{kDownloadPage}));
    EXPECT_EQ(DecodeSetting(platform, platform.settings[{L"annuvia", L"Settings", key}]), L"12/8/2026");
}

// A store that reads but cannot be written (a read-only key, say) still gets one question a run.
TEST(StartUp, DueReminderAsksOnceEvenWhenTheDateCannotBeStored) {
    class ReadOnlyStore final : public FakePlatform {
    public:
        void SaveSetting(const std::wstring&, const std::wstring&, const std::wstring&, const std::wstring&) override {
            ++settingWrites;
        }
    } platform;
    platform.settings[{L"annuvia", L"Settings", EncodeSetting(platform, L"Duration")}] =
        EncodeSetting(platform, L"11/1/2026");
    platform.answers = {MsgAnswer::Yes, MsgAnswer::Yes};
    App app(platform);
    app.Start();
    Pump(app);
    EXPECT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.pages, (std::vector<std::wstring>{kDownloadPage}));
    EXPECT_TRUE(app.Main().IsVisible());
}

TEST(StartUp, BannerDrawDecidesWhichMainWindowBannerIsSeenAndClicked) {
    struct Case { float r; int number; int front; const wchar_t* page; };
    const Case cases[] = {
        {0.08f, 1, M::lblCobrand, kCoBrandPage},   {0.25f, 2, M::lblFullBrand, kFullyBrandedPage},
        {0.4f, 3, M::lblCobrand, kCoBrandPage},    {0.5f, 4, M::lblFullBrand, kFullyBrandedPage},
        {0.75f, 6, M::lblFullBrand, kFullyBrandedPage},
        {0.95f, 7, M::lblFullBrand, kFullyBrandedPage},  // as created
    };
    for (const Case& c : cases) {
        RecordingPlatform platform;
        platform.randoms = {c.r};
        App app(platform);
        app.Start();
        Pump(app);
        EXPECT_EQ(app.NagScreen().intCoBrandRandomNumber, c.number) << c.r;
        HWND frame = app.Main().Control(M::fraFullBrand);
        EXPECT_EQ(GetWindow(frame, GW_CHILD), app.Main().Control(c.front)) << c.r;
        // Only the banner in front takes the focus.
        for (int id : {M::lblCobrand, M::lblFullBrand})
            EXPECT_EQ((GetWindowLongW(app.Main().Control(id), GWL_STYLE) & WS_TABSTOP) != 0, id == c.front) << c.r;
        // What lies under the middle of the banners is the one in front.
        RECT banner;
        GetWindowRect(app.Main().Control(c.front), &banner);
        POINT middle{(banner.left + banner.right) / 2, (banner.top + banner.bottom) / 2};
        ScreenToClient(frame, &middle);
        HWND hit = ChildWindowFromPointEx(frame, middle, CWP_SKIPINVISIBLE);
        ASSERT_EQ(hit, app.Main().Control(c.front)) << c.r;
        SendMessageW(hit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageW(hit, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        EXPECT_EQ(platform.pages, (std::vector<std::wstring>{c.page})) << c.r;
        // The result window keeps the order it was created in.
        FillAndNext(app);
        ASSERT_TRUE(app.PersonalYear().IsVisible());
        EXPECT_EQ(GetWindow(app.PersonalYear().Control(R::fraFullBrand), GW_CHILD),
                  app.PersonalYear().Control(R::lblFullBrand));
    }
}

}  // namespace
}  // namespace annuvia::test
