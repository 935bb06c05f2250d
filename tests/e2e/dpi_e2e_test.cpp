// The real program started at every screen scale: Wine takes the DPI from
// HKCU\Control Panel\Desktop, LogPixels, when a process starts. Each window is
// measured from outside against its twips at that DPI, its type through what
// the controls show of it, and every caption must fit its box.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "e2e/driver.h"
#include "support/designed_layouts.h"
#include "support/wide_desktop.h"

namespace e2e {
namespace {

using annuvia::test::DesignedControl;
using annuvia::test::DesignedFont;
using annuvia::test::DesignedWindow;
using annuvia::test::Fit;
using annuvia::test::DesktopIsAtLeast;
using annuvia::test::InWideDesktop;
using annuvia::test::RunAgainInWideDesktop;

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";

int Scaled(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

DWORD LogPixels() {  // 0 when not set: 96
    DWORD value = 0, bytes = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", RRF_RT_REG_DWORD, nullptr, &value, &bytes) !=
        ERROR_SUCCESS)
        return 0;
    return value;
}

bool SetLogPixels(DWORD dpi) {
    return RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", REG_DWORD, &dpi, sizeof dpi) == ERROR_SUCCESS;
}

// Back to 96 DPI however the test ends.
struct LogPixelsRestorer {
    ~LogPixelsRestorer() { SetLogPixels(96); }
};

// Other programs' windows in their own pixels: Windows hands a thread that is
// not DPI aware their sizes scaled to 96 DPI.
void MeasureInRealPixels() {
    using SetContextFn = HANDLE(WINAPI*)(HANDLE);
    const auto set = reinterpret_cast<SetContextFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetThreadDpiAwarenessContext")));
    if (set) set(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3)));  // per monitor
}

HFONT MakeFont(const DesignedFont& font, int dpi, int hundredths = 0) {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(hundredths ? hundredths : font.hundredthsOfPoint, dpi, 7200);
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfUnderline = font.underline;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, font.face, LF_FACESIZE);
    return CreateFontIndirectW(&lf);
}

// The size of a text in a font, laid out as the control lays it out.
SIZE Extent(const std::wstring& text, HFONT font, Fit fit, int width) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    RECT rc{0, 0, width, 0};
    const UINT format = fit == Fit::Wrapped ? DT_WORDBREAK : fit == Fit::FrameLine ? DT_SINGLELINE | DT_NOPREFIX
                                                                                  : DT_SINGLELINE;
    DrawTextW(dc, text.c_str(), -1, &rc, DT_CALCRECT | format);
    SelectObject(dc, old);
    DeleteDC(dc);
    return SIZE{rc.right, rc.bottom};
}

TEXTMETRICW Metrics(HFONT font) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    DeleteDC(dc);
    return tm;
}

LRESULT Ask(HWND control, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(control, msg, wp, lp, SMTO_ABORTIFHUNG, kTimeoutMs, &result);
    return static_cast<LRESULT>(result);
}

struct Measured {
    SIZE client{};
    int worst = 0;  // the largest distance of any edge of any control from its twips, pixels
};

// Whether the caption fits the control's box in the designed type, or for a
// control that steps its type down, in some type of at least half the size.
void ExpectCaptionFits(HWND control, const DesignedControl& c, int dpi) {
    const std::wstring text = ReadText(control);
    if (text.empty()) return;
    RECT box{};
    GetClientRect(control, &box);
    const int margin = MulDiv(c.margin, dpi, 96);
    int width = box.right - 2 * margin, height = box.bottom - 2 * margin;
    if (c.fit == Fit::FrameLine) width -= 12;  // the frame keeps 6 pixels either side of its caption
    for (int size = c.font.hundredthsOfPoint; size >= c.font.hundredthsOfPoint / 2; size -= 25) {
        HFONT font = MakeFont(c.font, dpi, size);
        const SIZE extent = Extent(text, font, c.fit, width);
        DeleteObject(font);
        if (extent.cx <= width && extent.cy <= height) return;
        if (!c.fitted) {
            ADD_FAILURE() << c.name << ": " << extent.cx << "x" << extent.cy << " of text in " << width << "x"
                          << height;
            return;
        }
    }
    ADD_FAILURE() << c.name << ": the text fits in no type down to half the designed size";
}

// The type the program gave its controls, seen from outside: text boxes place
// their characters by it, lists make their entries as high as it, and the exit
// screen's caption is as big as its text in it.
void ExpectTypeOfDesign(HWND window, const DesignedControl& c, int dpi) {
    HWND control = FindControl(window, c.id);
    HFONT font = MakeFont(c.font, dpi);
    const TEXTMETRICW tm = Metrics(font);
    wchar_t className[32] = {};
    GetClassNameW(control, className, 32);
    const std::wstring kind = className;
    if (kind == L"Edit") {
        const std::wstring text = ReadText(control);
        if (text.size() >= 2 && text.find(L'\r') == std::wstring::npos) {
            const LRESULT first = Ask(control, EM_POSFROMCHAR, 0), last = Ask(control, EM_POSFROMCHAR, text.size() - 1);
            const SIZE extent = Extent(text.substr(0, text.size() - 1), font, Fit::OneLine, 10000);
            EXPECT_NEAR(LOWORD(last) - LOWORD(first), extent.cx, 1) << c.name << " places its text in another type";
        } else if (const LRESULT line = Ask(control, EM_LINEINDEX, 1); line > 0 && line < LRESULT(text.size())) {
            const LRESULT first = Ask(control, EM_POSFROMCHAR, 0), second = Ask(control, EM_POSFROMCHAR, line);
            EXPECT_EQ(HIWORD(second) - HIWORD(first), tm.tmHeight) << c.name << " spaces its lines for another type";
        }
    } else if (kind == L"ComboBox") {
        EXPECT_NEAR(Ask(control, CB_GETITEMHEIGHT, 0), tm.tmHeight, 1) << c.name << " has entries of another type";
    } else if (c.selfSized) {
        RECT rc{};
        GetClientRect(control, &rc);
        const SIZE extent = Extent(ReadText(control), font, Fit::OneLine, 10000);
        EXPECT_EQ(rc.right, extent.cx) << c.name;
        EXPECT_EQ(rc.bottom, extent.cy) << c.name;
    }
    DeleteObject(font);
}

// A list's designed height is that of its box with the list open; the open
// list shows whole entries, so together they come within one entry of it.
void ExpectOpenListOfDesignedHeight(HWND list, const DesignedControl& c, int dpi) {
    Ask(list, CB_SHOWDROPDOWN, TRUE);
    HWND open = nullptr;
    WaitUntil([&] { return (open = FindTopWindow(L"ComboLBox", nullptr, ProcessOf(list))) != nullptr; }, 5000);
    RECT box{}, drop{};
    GetWindowRect(list, &box);
    if (open) GetWindowRect(open, &drop);
    Ask(list, CB_SHOWDROPDOWN, FALSE);
    ASSERT_NE(open, nullptr) << c.name << " did not open";
    const int total = (box.bottom - box.top) + (drop.bottom - drop.top);
    const int entry = static_cast<int>(Ask(list, CB_GETITEMHEIGHT, 0));
    EXPECT_LE(total, Scaled(c.height, dpi) + 2) << c.name;
    EXPECT_GT(total, Scaled(c.height, dpi) - entry - 2) << c.name;
}

Measured Measure(HWND window, const DesignedWindow& design, int dpi) {
    static constexpr const char* kEdges[] = {"left", "top", "width", "height"};
    SCOPED_TRACE(design.name);
    Measured m;
    RECT client{};
    GetClientRect(window, &client);
    m.client = SIZE{client.right, client.bottom};
    EXPECT_NEAR(client.right, Scaled(design.clientWidth, dpi), 1);
    EXPECT_NEAR(client.bottom, Scaled(design.clientHeight, dpi), 1);
    for (const DesignedControl& c : design.controls) {
        HWND control = FindControl(window, c.id);
        if (!control) {
            ADD_FAILURE() << "no " << c.name;
            continue;
        }
        HWND parent = c.parentId ? FindControl(window, c.parentId) : window;
        EXPECT_EQ(GetParent(control), parent) << c.name;
        RECT rc{};
        GetWindowRect(control, &rc);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
        std::vector<std::pair<int, int>> edges{{rc.left, Scaled(c.left, dpi)}, {rc.top, Scaled(c.top, dpi)}};
        if (!c.selfSized) edges.emplace_back(rc.right - rc.left, Scaled(c.width, dpi));
        if (!c.selfSized && !c.dropList) edges.emplace_back(rc.bottom - rc.top, Scaled(c.height, dpi));
        if (c.dropList) ExpectOpenListOfDesignedHeight(control, c, dpi);
        for (std::size_t i = 0; i < edges.size(); ++i) {
            EXPECT_NEAR(edges[i].first, edges[i].second, 1) << c.name << ", " << kEdges[i];
            m.worst = std::max(m.worst, std::abs(edges[i].first - edges[i].second));
        }
        ExpectTypeOfDesign(window, c, dpi);
        if (c.fit != Fit::None && IsWindowVisible(control)) ExpectCaptionFits(control, c, dpi);
    }
    return m;
}

// Starts the program at one DPI, walks it through its windows and measures each.
void WalkAt(int dpi) {
    SCOPED_TRACE(testing::Message() << dpi << " DPI");
    ASSERT_TRUE(SetLogPixels(static_cast<DWORD>(dpi)));
    ProgramRun program;
    ASSERT_TRUE(program.Start()) << Narrow(program.Error());
    const auto startUpHidden = [&] { EXPECT_EQ(FindTopWindow(L"Annuvia_frmNagScreen", nullptr, program.Pid()), nullptr); };

    HWND main = WaitForTopWindow(kMainClass, kWindowTitle, program.Pid());
    ASSERT_NE(main, nullptr) << "no main window";
    ASSERT_TRUE(WaitUntilIdle(main));
    ASSERT_EQ(FindMessageBox(program.Pid()), nullptr);
    const Measured atMain = Measure(main, annuvia::test::kMainWindow, dpi);
    startUpHidden();

    ASSERT_TRUE(PostMessageW(main, WM_COMMAND, MAKEWPARAM(ids::mnuAbout, 0), 0));
    HWND about = WaitForTopWindow(kAboutClass, kWindowTitle, program.Pid());
    ASSERT_NE(about, nullptr) << "no About window";
    ASSERT_TRUE(WaitUntilIdle(about));
    const Measured atAbout = Measure(about, annuvia::test::kAboutWindow, dpi);
    ASSERT_TRUE(PostClick(FindControl(about, ids::About::cmdOK)));
    ASSERT_TRUE(WaitUntilGone(about));

    ASSERT_TRUE(TypeText(FindControl(main, ids::txtFirstName), L"ann"));
    ASSERT_TRUE(TypeText(FindControl(main, ids::txtLastName), L"lee"));
    ASSERT_TRUE(PostClick(FindControl(main, ids::cmdNext)));
    HWND result = WaitForTopWindow(kResultClass, kWindowTitle, program.Pid());
    ASSERT_NE(result, nullptr) << "no result window";
    ASSERT_TRUE(WaitUntilIdle(result));
    const Measured atResult = Measure(result, annuvia::test::kResultWindow, dpi);
    startUpHidden();

    ASSERT_TRUE(PostMessageW(result, WM_CLOSE, 0, 0));
    HWND screen = WaitForTopWindow(kExitClass, kWindowTitle, program.Pid());
    ASSERT_NE(screen, nullptr) << "no exit screen";
    ASSERT_TRUE(WaitUntilIdle(screen));
    const Measured atExit = Measure(screen, annuvia::test::kExitScreen, dpi);
    startUpHidden();
    ASSERT_TRUE(PostClick(FindControl(screen, ids::Exit::cmdClose)));
    ASSERT_TRUE(program.WaitForExit(10000)) << Narrow(program.Error());

    const int worst = std::max({atMain.worst, atAbout.worst, atResult.worst, atExit.worst});
    std::printf("%3d DPI: main %ldx%ld, result %ldx%ld, About %ldx%ld, exit screen %ldx%ld; controls within %d px\n",
                dpi, atMain.client.cx, atMain.client.cy, atResult.client.cx, atResult.client.cy, atAbout.client.cx,
                atAbout.client.cy, atExit.client.cx, atExit.client.cy, worst);
}

TEST(ScreenScale, EveryWindowIsItsTwipsAtTheDpiTheProgramStartsWith) {
    // In a desktop big enough for the exit screen at 192 DPI.
    if (!InWideDesktop()) {
        LogPixelsRestorer restorer;
        ASSERT_TRUE(LogPixels() == 0 || LogPixels() == 96) << "the prefix does not start at 96 DPI but " << LogPixels();
        SetStoredReminder(L"annuvia", ShortDateFromToday(0));
        std::wstring error;
        EXPECT_EQ(RunAgainInWideDesktop(L"AnnuviaScreenScale", 1600, 1200, L"ScreenScale.*", 180000, error), 0)
            << Narrow(error);
        return;
    }
    ASSERT_TRUE(DesktopIsAtLeast(1600, 1200));
    LogPixelsRestorer restorer;
    MeasureInRealPixels();
    for (int dpi : {96, 120, 144, 192}) WalkAt(dpi);
}

}  // namespace
}  // namespace e2e
