// The windows' layouts, checked in one table against the layouts as designed
// (support/designed_layouts.h): every window open at once and told of one DPI
// after another, each control at its twips, in its font, its caption whole.

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "in_process/recording_platform.h"
#include "support/build_values.h"
#include "support/designed_layouts.h"
#include "support/wide_desktop.h"

namespace annuvia::test {
namespace {

using M = frmMain;
using N = frmNagScreen2;

// The suggestion Windows makes to a per-monitor aware window that moved to a
// screen of another DPI: its client area scaled to the new DPI, in a frame as
// big as the window's is now (Wine draws frames at the system DPI whatever a
// window's DPI).
void TellNewDpi(Form& form, UINT dpi) {
    RECT window, client;
    GetWindowRect(form.Hwnd(), &window);
    GetClientRect(form.Hwnd(), &client);
    const int old = static_cast<int>(form.Dpi()), now = static_cast<int>(dpi);
    RECT suggested{window.left, window.top,
                   window.right + MulDiv(client.right, now, old) - client.right,
                   window.bottom + MulDiv(client.bottom, now, old) - client.bottom};
    SendMessageW(form.Hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

// The caption laid out as the control lays it out, in the type it has: all of
// it within the box.
void ExpectCaptionWhole(HWND control, HFONT font, const DesignedControl& c, UINT dpi) {
    RECT box;
    GetClientRect(control, &box);
    const int margin = MulDiv(c.margin, static_cast<int>(dpi), 96);
    const int width = box.right - 2 * margin - (c.fit == Fit::FrameLine ? 12 : 0);  // frames keep 6 a side
    const int height = box.bottom - 2 * margin;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    RECT rc{0, 0, width, 0};
    const UINT format = c.fit == Fit::Wrapped ? DT_WORDBREAK : c.fit == Fit::FrameLine ? DT_SINGLELINE | DT_NOPREFIX
                                                                                      : DT_SINGLELINE;
    DrawTextW(dc, WindowText(control).c_str(), -1, &rc, DT_CALCRECT | format);
    SelectObject(dc, old);
    DeleteDC(dc);
    EXPECT_LE(rc.right, width) << "cut off at the side";
    EXPECT_LE(rc.bottom, height) << "cut off at the foot";
}

// Every window open at once and each told of a new DPI in turn: the controls
// stand at their twips at that DPI, in fonts made for it.
void RelayoutAtEveryDpi() {
    RecordingPlatform platform;
    App app{platform};
    app.Start();
    Pump(app);
    FillAndNext(app);
    app.Main().Show();  // again, beside the result window
    app.About().Show();
    app.NagScreen2().Show();
    Pump(app);
    const std::pair<Form*, const DesignedWindow*> windows[] = {{&app.Main(), &kMainWindow},
                                                               {&app.PersonalYear(), &kResultWindow},
                                                               {&app.About(), &kAboutWindow},
                                                               {&app.NagScreen2(), &kExitScreen}};
    std::vector<HFONT> fonts;  // each control's, at the DPI before
    for (const auto& [form, design] : windows) {
        ASSERT_TRUE(form->IsVisible()) << design->name;
        for (const DesignedControl& c : design->controls)
            fonts.push_back(reinterpret_cast<HFONT>(SendMessageW(form->Control(c.id), WM_GETFONT, 0, 0)));
    }
    for (UINT dpi : {120u, 144u, 192u, 168u, 96u}) {
        for (const auto& [form, design] : windows) TellNewDpi(*form, dpi);
        Pump(app);
        HFONT* before = fonts.data();
        for (const auto& [form, design] : windows) {
            SCOPED_TRACE(testing::Message() << design->name << " at " << dpi << " DPI");
            EXPECT_EQ(form->Dpi(), dpi);
            RECT client;
            GetClientRect(form->Hwnd(), &client);
            EXPECT_NEAR(client.right, TwipsToPixels(design->clientWidth, dpi), 1);
            EXPECT_NEAR(client.bottom, TwipsToPixels(design->clientHeight, dpi), 1);
            for (const DesignedControl& c : design->controls) {
                SCOPED_TRACE(c.name);
                HWND control = form->Control(c.id);
                ASSERT_NE(control, nullptr);
                ASSERT_EQ(GetParent(control), c.parentId ? form->Control(c.parentId) : form->Hwnd());
                RECT rc;
                GetWindowRect(control, &rc);
                MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rc), 2);
                EXPECT_NEAR(rc.left, TwipsToPixels(c.left, dpi), 1);
                EXPECT_NEAR(rc.top, TwipsToPixels(c.top, dpi), 1);
                if (!c.selfSized) {
                    EXPECT_NEAR(rc.right - rc.left, TwipsToPixels(c.width, dpi), 1);
                }
                if (!c.selfSized && !c.dropList) {
                    EXPECT_NEAR(rc.bottom - rc.top, TwipsToPixels(c.height, dpi), 1);
                }
                HFONT handle = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
                LOGFONTW font{};
                ASSERT_EQ(GetObjectW(handle, sizeof font, &font), static_cast<int>(sizeof font));
                const int designed = MulDiv(c.font.hundredthsOfPoint, static_cast<int>(dpi), 7200);
                if (c.fitted) {  // stepped down to fit, never below half
                    EXPECT_LE(-font.lfHeight, designed);
                    EXPECT_GE(-font.lfHeight, designed / 2);
                } else {
                    EXPECT_EQ(font.lfHeight, -designed);
                    EXPECT_NE(handle, *before) << "still the font of the DPI before";
                }
                EXPECT_STREQ(font.lfFaceName, c.font.face);
                EXPECT_EQ(font.lfWeight >= FW_BOLD, c.font.bold);
                EXPECT_EQ(font.lfUnderline != 0, c.font.underline);
                *before++ = handle;
                if (c.fit != Fit::None) ExpectCaptionWhole(control, handle, c, dpi);
            }
        }
        // The caption that sizes itself is as big as its text in the new type.
        HWND caption = app.NagScreen2().Control(N::lblNagScreen2Caption);
        HDC dc = GetDC(caption);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(caption, WM_GETFONT, 0, 0)));
        SIZE extent{};
        GetTextExtentPoint32W(dc, kTitle.c_str(), static_cast<int>(kTitle.size()), &extent);
        SelectObject(dc, old);
        ReleaseDC(caption, dc);
        RECT rc;
        GetClientRect(caption, &rc);
        EXPECT_EQ(rc.right, extent.cx) << dpi;
        EXPECT_EQ(rc.bottom, extent.cy) << dpi;
    }
    for (const auto& [form, design] : windows) EXPECT_TRUE(form->IsVisible()) << design->name;
    EXPECT_TRUE(platform.messages.empty());
}

TEST(DpiChange, EveryOpenWindowIsLaidOutAnewFromItsTwipsInFontsOfTheNewSize) {
    // In a desktop where a window 1500 pixels wide fits.
    if (!InWideDesktop()) {
        std::wstring error;
        EXPECT_EQ(RunAgainInWideDesktop(L"AnnuviaDpiChange", 1600, 1200, L"DpiChange.*", 120000, error), 0)
            << std::string(error.begin(), error.end());
        return;
    }
    ASSERT_TRUE(DesktopIsAtLeast(1600, 1200));
    SetCursorPos(0, 0);
    RelayoutAtEveryDpi();
}

}  // namespace
}  // namespace annuvia::test
