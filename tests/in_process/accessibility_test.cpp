// Every user: the names a screen reader gives the inputs, and the colours of
// every window under high contrast, read from the pictures the windows paint.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "in_process/recording_platform.h"

namespace annuvia::test {
namespace {

using M = frmMain;
using N = frmNagScreen2;
using R = frmPersonalYear;

// The accessibility layer's rule: an edit box or drop-down list is named by
// the nearest static before it in z-order, unless a control that is both a
// group start and a tab stop comes first. The access-key ampersand is not read.
std::wstring NameByLabel(HWND control) {
    for (HWND before = GetWindow(control, GW_HWNDPREV); before; before = GetWindow(before, GW_HWNDPREV)) {
        wchar_t className[32] = {};
        GetClassNameW(before, className, 32);
        if (lstrcmpiW(className, L"Static") == 0) {
            std::wstring name;
            const std::wstring text = WindowText(before);
            for (std::size_t i = 0; i < text.size(); ++i) {
                if (text[i] == L'&' && ++i == text.size()) break;
                name += text[i];
            }
            return name;
        }
        const LONG style = GetWindowLongW(before, GWL_STYLE);
        if ((style & WS_GROUP) && (style & WS_TABSTOP)) break;
    }
    return L"";
}

BOOL CALLBACK AddInput(HWND child, LPARAM found) {
    wchar_t className[32] = {};
    GetClassNameW(child, className, 32);
    if (lstrcmpiW(className, L"Edit") == 0 || lstrcmpiW(className, L"ComboBox") == 0)
        reinterpret_cast<std::set<int>*>(found)->insert(GetDlgCtrlID(child));
    return TRUE;
}

// Every edit box and drop-down list under a window, by id.
std::set<int> Inputs(HWND window) {
    std::set<int> ids;
    EnumChildWindows(window, AddInput, reinterpret_cast<LPARAM>(&ids));
    return ids;
}

class EveryWindow : public testing::Test {
public:
    void SetUp() override {
        SetCursorPos(0, 0);  // keep the real pointer off the windows
        app.Start();
        Pump(app);
        SetWindowTextW(app.Main().Control(M::txtFirstName), L"ANN");
        SetWindowTextW(app.Main().Control(M::txtLastName), L"LEE");
        Click(app.Main().Control(M::cmdNext));
        app.Main().Show();
        app.About().Show();  // modeless here: it paints as it does modally
        app.NagScreen2().Show();
        Pump(app);
    }
    std::vector<Form*> Windows() { return {&app.Main(), &app.PersonalYear(), &app.About(), &app.NagScreen2()}; }

    RecordingPlatform platform;
    App app{platform};
};

TEST_F(EveryWindow, EachInputIsNamedByTheLabelBeforeIt) {
    struct Case { Form* window; int id; const wchar_t* name; };
    const Case cases[] = {
        {&app.Main(), M::txtFirstName, L"First Name"},       {&app.Main(), M::txtMiddleName, L"Middle Name"},
        {&app.Main(), M::txtLastName, L"Last Name"},         {&app.Main(), M::cboMonth, L"Month of Birth"},
        {&app.Main(), M::cboDate, L"Day of Birth"},          {&app.Main(), M::cboYear, L"Year of Birth"},
        {&app.PersonalYear(), R::txtDisplay, L"Personal Year Number"},
        {&app.NagScreen2(), N::txtName, L"Your Name"},       {&app.NagScreen2(), N::txtEmail, L"Your Email Address"},
        {&app.NagScreen2(), N::txtFriendName, L"Friend's Name"},
        {&app.NagScreen2(), N::txtFriendEmail, L"Friend's Email Address"},
        {&app.NagScreen2(), N::txtMessage, L"Your Message"},
    };
    std::map<Form*, std::set<int>> named;
    for (const Case& c : cases) {
        EXPECT_EQ(NameByLabel(c.window->Control(c.id)), c.name) << c.id;
        named[c.window].insert(c.id);
    }
    // A prompt in a field is no name: it goes when the field takes the focus.
    SetFocus(app.NagScreen2().Control(N::txtName));
    EXPECT_EQ(NameByLabel(app.NagScreen2().Control(N::txtName)), L"Your Name");
    for (Form* window : Windows()) EXPECT_EQ(Inputs(window->Hwnd()), named[window]) << "an input without a name";
}

// What WM_PRINT with PRF_CHILDREN paints, where Wine does not: the window,
// then each of its visible children over it, bottom of the z-order first.
// Each paints into a picture of its own size (controls clip to their own
// corner), which then goes to its place.
void PrintWithChildren(HWND root, HWND window, HDC target) {
    RECT rc;
    GetClientRect(window, &rc);
    POINT at{0, 0};
    MapWindowPoints(window, root, &at, 1);
    HDC dc = CreateCompatibleDC(target);
    HBITMAP bitmap = CreateCompatibleBitmap(target, rc.right, rc.bottom);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageW(window, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    BitBlt(target, at.x, at.y, rc.right, rc.bottom, dc, 0, 0, SRCCOPY);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    for (HWND child = GetWindow(GetWindow(window, GW_CHILD), GW_HWNDLAST); child; child = GetWindow(child, GW_HWNDPREV))
        if (IsWindowVisible(child)) PrintWithChildren(root, child, target);
}

// A window's picture as it paints itself and its controls. With
// ANNUVIA_PICTURES set to a folder, it is also kept there as a bitmap file,
// for people to look at.
std::vector<DWORD> Picture(HWND window, const std::string& name) {
    RECT size;
    GetClientRect(window, &size);
    const std::vector<DWORD> pixels = Pixels(window, [&](HDC dc) { PrintWithChildren(window, window, dc); });
    if (const char* folder = std::getenv("ANNUVIA_PICTURES")) {
        const DWORD bytes = static_cast<DWORD>(pixels.size() * 4);
        const DWORD headers = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
        BITMAPFILEHEADER file{0x4D42, headers + bytes, 0, 0, headers};
        BITMAPINFOHEADER header{sizeof header, size.right, -size.bottom, 1, 32, BI_RGB, bytes, 0, 0, 0, 0};
        if (FILE* out = std::fopen((std::string(folder) + "/" + name + ".bmp").c_str(), "wb")) {
            std::fwrite(&file, sizeof file, 1, out);
            std::fwrite(&header, sizeof header, 1, out);
            std::fwrite(pixels.data(), 4, pixels.size(), out);
            std::fclose(out);
        }
    }
    return pixels;
}

// The colours of a window's picture, counted.
std::map<COLORREF, int> Colours(HWND window, const std::string& name) {
    std::map<COLORREF, int> counts;
    for (const DWORD p : Picture(window, name)) ++counts[RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF)];
    return counts;
}

COLORREF Commonest(const std::map<COLORREF, int>& counts) {
    COLORREF best = 0;
    int most = -1;
    for (const auto& [colour, count] : counts) {
        if (count > most) best = colour, most = count;
    }
    return best;
}

// A high-contrast palette that no designed colour shares.
class HighContrastColours {
public:
    HighContrastColours() {
        for (std::size_t i = 0; i < std::size(kIndexes); ++i) saved_[i] = GetSysColor(kIndexes[i]);
        SetSysColors(static_cast<int>(std::size(kIndexes)), kIndexes, kPalette);
    }
    ~HighContrastColours() { SetSysColors(static_cast<int>(std::size(kIndexes)), kIndexes, saved_); }
    static COLORREF Of(int index) { return GetSysColor(index); }

private:
    static constexpr int kIndexes[] = {COLOR_WINDOW,    COLOR_WINDOWTEXT, COLOR_HOTLIGHT, COLOR_BTNFACE,
                                       COLOR_BTNTEXT,   COLOR_3DHILIGHT,  COLOR_3DSHADOW, COLOR_3DDKSHADOW,
                                       COLOR_3DLIGHT,   COLOR_SCROLLBAR,  COLOR_GRAYTEXT};
    static constexpr COLORREF kPalette[] = {RGB(16, 16, 16),   RGB(240, 240, 16), RGB(16, 240, 240), RGB(64, 0, 64),
                                            RGB(250, 250, 210), RGB(200, 200, 200), RGB(90, 90, 90), RGB(40, 40, 40),
                                            RGB(120, 120, 120), RGB(30, 30, 30),    RGB(160, 160, 160)};
    COLORREF saved_[std::size(kIndexes)] = {};
};

// The seam's answer changes and every window hears of it, as from the system.
void SwitchHighContrast(App& app, RecordingPlatform& platform, const std::vector<Form*>& windows, bool on) {
    platform.highContrast = on;
    for (Form* window : windows) SendMessageW(window->Hwnd(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    // Each window and its controls are to be painted anew.
    for (Form* window : windows) EXPECT_TRUE(GetUpdateRect(window->Hwnd(), nullptr, FALSE));
    Pump(app);
}

TEST_F(EveryWindow, HighContrastPaintsEveryWindowInTheSystemsColoursAndBack) {
    struct Case { const char* name; Form* window; COLORREF back; std::vector<COLORREF> designed; };
    const Case cases[] = {
        {"main", &app.Main(), kFormBlue, {kFormBlue, kBannerBlue}},
        {"result", &app.PersonalYear(), kFormBlue, {kFormBlue, kBannerBlue}},
        {"about", &app.About(), kFormBlue, {kFormBlue}},
        {"exit", &app.NagScreen2(), kWhite, {RGB(0, 0, 128), RGB(255, 255, 0)}},  // navy frames, the yellow link
    };
    const auto designedLooks = [&](const char* when) {
        for (const Case& c : cases) {
            const auto counts = Colours(c.window->Hwnd(), std::string(c.name) + "-" + when);
            EXPECT_EQ(Commonest(counts), c.back) << when;
            for (COLORREF colour : c.designed) EXPECT_GT(counts.count(colour), 0u) << when << " " << colour;
        }
    };
    const auto switchTo = [&](bool on) { SwitchHighContrast(app, platform, Windows(), on); };
    designedLooks("before");
    {
        HighContrastColours system;
        switchTo(true);
        for (const Case& c : cases) {
            const auto counts = Colours(c.window->Hwnd(), std::string(c.name) + "-high-contrast");
            EXPECT_EQ(Commonest(counts), HighContrastColours::Of(COLOR_WINDOW)) << c.name;
            for (int index : {COLOR_WINDOWTEXT, COLOR_HOTLIGHT, COLOR_BTNFACE})
                EXPECT_GT(counts.count(HighContrastColours::Of(index)), 0u) << c.name << " " << index;
            for (COLORREF colour : c.designed) EXPECT_EQ(counts.count(colour), 0u) << colour;
        }
        switchTo(false);
    }
    designedLooks("after");
}

// Windows loaded while a dark high-contrast palette is on, and shown after it
// went off, look exactly as windows that never saw it.
TEST(HighContrastSwitchedOff, WindowsLoadedUnderItLookAsDesigned) {
    const auto pictures = [](bool loadedInHighContrast) {
        SetCursorPos(0, 0);
        RecordingPlatform platform;
        App app{platform};
        std::optional<HighContrastColours> system;
        if (loadedInHighContrast) system.emplace();
        platform.highContrast = loadedInHighContrast;
        app.Start();
        Pump(app);
        app.Main().Show();
        app.NagScreen2().Show();
        Pump(app);
        system.reset();
        if (loadedInHighContrast) SwitchHighContrast(app, platform, {&app.Main(), &app.NagScreen2()}, false);
        const std::string when = loadedInHighContrast ? "-after-loading-in-high-contrast" : "-designed";
        return std::vector{Picture(app.Main().Hwnd(), "main" + when), Picture(app.NagScreen2().Hwnd(), "exit" + when)};
    };
    const auto designed = pictures(false);
    const auto afterwards = pictures(true);
    for (std::size_t i = 0; i < designed.size(); ++i)
        EXPECT_TRUE(designed[i] == afterwards[i]) << (i ? "the exit screen" : "the main window");
}

TEST_F(EveryWindow, AMinimizedWindowLeavesTheFocusWhereItIs) {
    struct Case { Form* window; HWND elsewhere; };
    const Case cases[] = {{&app.Main(), app.NagScreen2().Control(N::Check1)},
                          {&app.PersonalYear(), app.Main().Control(M::txtLastName)},
                          {&app.NagScreen2(), app.Main().Control(M::txtLastName)}};
    for (const Case& c : cases) {
        SetFocus(c.elsewhere);
        SendMessageW(c.window->Hwnd(), WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, TRUE), 0);
        EXPECT_EQ(GetFocus(), c.elsewhere) << WindowText(c.window->Hwnd());
    }
}

}  // namespace
}  // namespace annuvia::test
