// What the form base shares and keeps to paint faster: one font for each
// typeface, size and DPI in the process, one program icon for each size, and
// the last picture of a long text box, which must never show anything but
// what the box itself would paint.

#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/program_icon.h"
#include "in_process/recording_platform.h"

namespace annuvia::test {
namespace {

constexpr int kBox = 11, kOther = 12;
constexpr ControlRow kControls[] = {
    {.id = kBox, .kind = ControlKind::TextBox, .at = {120, 120, 1905, 285}},
    {.id = kOther, .kind = ControlKind::TextBox, .at = {120, 600, 1905, 285}},
};

class BoxForm final : public Form {
public:
    explicit BoxForm(FormRegistry& registry)
        : Form(registry, FormDesign{L"Annuvia_PaintingTest", L"Test", 4500, 1500, kFormBlue, kControls}) {}

private:
    void Form_Load() override { SubclassControl(kBox); }
};

// The box's client area as it stands on the screen.
std::vector<DWORD> OnScreen(HWND box) {
    RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return Pixels(box, [&](HDC memory) {
        RECT rc;
        GetClientRect(box, &rc);
        HDC dc = GetDC(box);
        BitBlt(memory, 0, 0, rc.right, rc.bottom, dc, 0, 0, SRCCOPY);
        ReleaseDC(box, dc);
    });
}

// Counts the times the box is asked to paint into a picture.
LRESULT CALLBACK CountPictures(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR count) {
    if (msg == WM_PRINTCLIENT) ++*reinterpret_cast<int*>(count);
    return DefSubclassProc(hwnd, msg, wp, lp);
}

std::wstring LongText(wchar_t first) {
    std::wstring text(100000, L'X');
    for (std::size_t i = 0; i < text.size(); ++i) text[i] = static_cast<wchar_t>(first + i % 7);
    return text;
}

TEST(FormPainting, WindowsShareTheirFontsAndKeepThemWhenAnotherUnloads) {
    RecordingPlatform platform;
    App app{platform};
    BoxForm a{app.Forms()}, b{app.Forms()};
    a.Show();
    b.Show();
    const auto font = [](const Form& form) { return SendMessageW(form.Control(kBox), WM_GETFONT, 0, 0); };
    EXPECT_EQ(font(a), font(b));
    EXPECT_EQ(font(a), SendMessageW(a.Control(kOther), WM_GETFONT, 0, 0));
    const LRESULT shared = font(a);
    b.Unload();
    LOGFONTW logFont{};
    EXPECT_EQ(GetObjectW(reinterpret_cast<HFONT>(shared), sizeof logFont, &logFont), static_cast<int>(sizeof logFont));
    b.Show();  // loaded again: no new font
    EXPECT_EQ(font(b), shared);
}

// Each size asked for, the resource's (16, 32) or not: an icon of that size, loaded once.
TEST(FormPainting, TheProgramIconComesAtEverySizeAskedForOnce) {
    for (int pixels : {48, 16, 24, 32, 64}) {
        const HICON icon = ProgramIcon(pixels);
        ICONINFO info{};
        ASSERT_TRUE(icon && GetIconInfo(icon, &info)) << pixels;
        BITMAP colour{};
        GetObjectW(info.hbmColor, sizeof colour, &colour);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        EXPECT_EQ(colour.bmWidth, pixels);
        EXPECT_EQ(colour.bmHeight, pixels);
        EXPECT_EQ(ProgramIcon(pixels), icon) << pixels;
    }
}

TEST(FormPainting, ALongTextBoxAlwaysShowsWhatItWouldPaintItself) {
    SetCursorPos(0, 0);
    RecordingPlatform platform;
    App app{platform};
    BoxForm form{app.Forms()};
    form.Show();
    SetFocus(form.Hwnd());  // no caret in either box
    HWND box = form.Control(kBox), other = form.Control(kOther);
    // The other box paints itself, as a plain edit does: its class's own procedure back.
    SetWindowLongPtrW(other, GWLP_WNDPROC, GetClassLongPtrW(other, GCLP_WNDPROC));
    int pictures = 0;
    SetWindowSubclass(box, CountPictures, 1, reinterpret_cast<DWORD_PTR>(&pictures));
    // The same text in the box that keeps pictures and in one that paints itself.
    const auto same = [&] { return OnScreen(box) == OnScreen(other); };
    for (HWND edit : {box, other}) SetWindowTextW(edit, LongText(L'A').c_str());
    EXPECT_TRUE(same()) << "first picture";
    const std::vector<DWORD> before = OnScreen(box);
    const int made = pictures;
    EXPECT_GE(made, 1);
    form.Hide();
    form.Show();
    SetFocus(form.Hwnd());
    EXPECT_EQ(OnScreen(box), before) << "shown again";
    EXPECT_EQ(pictures, made) << "shown again from the picture";
    for (HWND edit : {box, other}) SetWindowTextW(edit, LongText(L'K').c_str());  // as long, other letters
    EXPECT_TRUE(same()) << "new text";
    EXPECT_NE(OnScreen(box), before);
    for (HWND edit : {box, other}) {
        SendMessageW(edit, EM_SETSEL, 90000, 90000);
        SendMessageW(edit, EM_SCROLLCARET, 0, 0);
    }
    EXPECT_TRUE(same()) << "scrolled";
    for (HWND edit : {box, other}) EnableWindow(edit, FALSE);
    EXPECT_TRUE(same()) << "disabled";
    RemoveWindowSubclass(box, CountPictures, 1);
}

}  // namespace
}  // namespace annuvia::test
