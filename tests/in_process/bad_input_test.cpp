// What the windows meet besides ordinary use: names far longer than any box
// shows, the clock turning to a new year between two calculations, and a
// change of DPI while every window is open.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/build_values.h"
#include "support/designed_layouts.h"
#include "support/wide_desktop.h"
#include "in_process/recording_platform.h"

namespace annuvia::test {
namespace {

using M = frmMain;
using N = frmNagScreen2;
using R = frmPersonalYear;

constexpr std::size_t kLong = 100000;

// A text of kLong characters: head, then letters, then tail. A cut one would be shorter.
std::wstring LongText(const std::wstring& head, const std::wstring& tail = L"") {
    std::wstring text = head;
    while (text.size() + tail.size() < kLong) text += static_cast<wchar_t>(L'a' + text.size() % 26);
    return text + tail;
}

// Ctrl+A, then Ctrl+V: the box's text replaced by the clipboard's, at once.
void Paste(HWND box, const std::wstring& text) {
    ASSERT_TRUE(PutClipboardText(text));
    const ULONGLONG start = GetTickCount64();
    SendMessageW(box, EM_SETSEL, 0, -1);
    SendMessageW(box, WM_PASTE, 0, 0);
    EXPECT_LT(GetTickCount64() - start, 3000u) << "pasting " << text.size() << " characters held the window up";
}

std::wstring FirstLine(HWND box) {
    const std::wstring text = Text(box);
    return text.substr(0, text.find(L"\r\n"));
}

// 1 + (day + month + year - 1) mod 9: the number in closed form.
std::wstring Header(int day, int month, int year) {
    return L"Your Personal Year Number is: " + std::to_wstring(1 + (day + month + year - 1) % 9);
}

class LongEntries : public testing::Test {
public:
    void SetUp() override {
        SetCursorPos(0, 0);  // keep the real pointer off the windows
        platform.today = {2026, 12, 8};
        app.Start();
        Pump(app);
        ASSERT_TRUE(app.Main().IsVisible());
    }
    RecordingPlatform platform;
    App app{platform};
};

TEST_F(LongEntries, PastedNamesAreKeptWholeAndNextStillWorks) {
    const std::pair<int, std::wstring> names[] = {{M::txtFirstName, LongText(L"first")},
                                                  {M::txtMiddleName, LongText(L"middle")},
                                                  {M::txtLastName, LongText(L"last")}};
    for (const auto& [id, text] : names) {
        Paste(app.Main().Control(id), text);
        const std::wstring back = Text(app.Main().Control(id));
        EXPECT_EQ(back.size(), kLong) << id;
        EXPECT_TRUE(back == text) << id;  // pasted: not turned into capitals either
    }
    SendMessageW(app.Main().Control(M::cboDate), CB_SETCURSEL, 28, 0);   // 29
    SendMessageW(app.Main().Control(M::cboMonth), CB_SETCURSEL, 2, 0);   // March
    Click(app.Main().Control(M::cmdNext));
    Pump(app);
    EXPECT_TRUE(platform.messages.empty());
    ASSERT_TRUE(app.PersonalYear().IsVisible());
    EXPECT_EQ(FirstLine(app.PersonalYear().Control(R::txtDisplay)), Header(29, 3, 2026));
    app.PersonalYear().cmdback_Click();
    Pump(app);
    ASSERT_TRUE(app.Main().IsVisible());
    for (const auto& [id, text] : names) EXPECT_TRUE(Text(app.Main().Control(id)) == text) << id;
}

TEST_F(LongEntries, PastedReferralFieldsReachTheAddressWhole) {
    SendMessageW(app.Main().Hwnd(), WM_COMMAND, MAKEWPARAM(M::mnuExit, 0), 0);
    Pump(app);
    frmNagScreen2& screen = app.NagScreen2();
    ASSERT_TRUE(screen.IsVisible());
    const std::pair<int, std::wstring> fields[] = {
        {N::txtName, LongText(L"name")},       {N::txtEmail, LongText(L"me", L"@x.org")},
        {N::txtFriendEmail, LongText(L"friend", L"@y.org")}, {N::txtFriendName, LongText(L"pal")},
        {N::txtMessage, LongText(L"hello")},  // the hidden box, reached with Tab
    };
    for (const auto& [id, text] : fields) {
        HWND box = screen.Control(id);
        SetFocus(box);  // the prompt goes, as it would for the user
        Paste(box, text);
        EXPECT_EQ(Text(box).size(), kLong) << id;
        EXPECT_TRUE(Text(box) == text) << id;
    }
    SetFocus(screen.Control(N::cmdSubmit));
    Click(screen.Control(N::cmdSubmit));
    Pump(app);
    EXPECT_TRUE(platform.messages.empty());
    ASSERT_EQ(platform.pages.size(), 1u);
    // Letters go into the address as they are, "@" as %40.
    auto encoded = [&](int i) {
        std::wstring text = fields[i].second;
        if (const std::size_t at = text.find(L'@'); at != std::wstring::npos) text.replace(at, 1, L"%40");
        return text;
    };
    const std::wstring expected = kPage + L"kzvx-refer-a-friend&taf1=" +
                                  encoded(0) + L"&taf2=" + encoded(1) + L"&taf3=" + encoded(4) + L"&taf4=" +
                                  encoded(3) + L"&taf5=" + encoded(2) + L"&taf6=" + kGateway + L"/annuvia/";
    EXPECT_EQ(platform.pages[0].size(), expected.size());
    EXPECT_TRUE(platform.pages[0] == expected);
    for (const auto& [id, text] : fields) EXPECT_TRUE(Text(screen.Control(id)) == text) << id;
    EXPECT_TRUE(screen.IsVisible());
    EXPECT_TRUE(platform.ends.empty());
}

TEST(NewYear, NextOnEitherSideOfMidnightGivesEachYearsNumber) {
    RecordingPlatform platform;
    App app{platform};
    platform.today = {2026, 12, 31};
    app.Start();
    Pump(app);
    SetWindowTextW(app.Main().Control(M::txtFirstName), L"ANN");
    SetWindowTextW(app.Main().Control(M::txtLastName), L"LEE");
    SendMessageW(app.Main().Control(M::cboDate), CB_SETCURSEL, 28, 0);  // 29 March
    SendMessageW(app.Main().Control(M::cboMonth), CB_SETCURSEL, 2, 0);
    std::vector<std::wstring> seen;
    for (const CivilDate today : {CivilDate{2026, 12, 31}, CivilDate{2027, 1, 1}}) {
        platform.today = today;
        SendMessageW(app.Main().Hwnd(), WM_COMMAND, MAKEWPARAM(M::mnuNext, 0), 0);
        Pump(app);
        ASSERT_TRUE(app.PersonalYear().IsVisible()) << today.year;
        seen.push_back(FirstLine(app.PersonalYear().Control(R::txtDisplay)));
        EXPECT_EQ(seen.back(), Header(29, 3, today.year));
        app.PersonalYear().cmdback_Click();
        Pump(app);
    }
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"Your Personal Year Number is: 6", L"Your Personal Year Number is: 7"}));
    EXPECT_TRUE(platform.messages.empty());
}

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
    DrawTextW(dc, Text(control).c_str(), -1, &rc, DT_CALCRECT | format);
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
    SetWindowTextW(app.Main().Control(M::txtFirstName), L"ANN");
    SetWindowTextW(app.Main().Control(M::txtLastName), L"LEE");
    Click(app.Main().Control(M::cmdNext));
    Pump(app);
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
    for (UINT dpi : {120u, 144u, 192u, 96u}) {
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
