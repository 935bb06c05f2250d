// The form lifetime: load on first use, show and hide without losing state,
// unload with its handler, load order, and re-entrance from unload handlers;
// modal showing over an owner, and texts fitted to their boxes.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/app.h"
#include "forms/form.h"
#include "in_process/recording_platform.h"

namespace annuvia::test {
namespace {

constexpr ControlRow kTestControls[] = {
    {.id = 10, .kind = ControlKind::Frame, .caption = L"Box", .at = {120, 120, 3000, 1500}},
    {.id = 11, .parent = 10, .kind = ControlKind::TextBox, .at = {150, 300, 1500, 285}},
};

class TestForm final : public Form {
public:
    TestForm(FormRegistry& registry, std::string name, std::vector<std::string>& log)
        : Form(registry, FormDesign{L"Annuvia_TestForm", L"Test", 4500, 2250, kFormBlue, kTestControls}),
          name_(std::move(name)), log_(log) {}

    std::function<void()> onUnload;
    std::function<void(UINT)> onMessage;  // runs, then the message goes on as unhandled
    using Form::DestroyFormWindow;

private:
    bool OnMessage(UINT msg, WPARAM, LPARAM, LRESULT*) override {
        if (onMessage) onMessage(msg);
        return false;
    }
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
    EXPECT_EQ(WindowText(a.Control(11)), L"kept");
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
    EXPECT_EQ(WindowText(a.Control(11)), L"");
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

// A step run from the message loop, once the modal loop about to start runs.
struct Later {
    static inline std::function<void()> step;
    static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        if (auto run = std::move(step)) run();
    }
    static void Run(std::function<void()> next) {
        step = std::move(next);
        SetTimer(nullptr, 0, 1, Fire);
    }
};

TEST_F(FormLifetime, AModalFormDisablesOnlyItsOwnerAndAnotherMayShowModallyOverIt) {
    app.Main().Show();  // a visible form that owns nothing
    a.Show();
    b.Load();
    bool innerRan = false;
    Later::Run([&] {
        EXPECT_EQ(GetWindow(c.Hwnd(), GW_OWNER), a.Hwnd());
        EXPECT_FALSE(IsWindowEnabled(a.Hwnd()));
        EXPECT_TRUE(IsWindowEnabled(app.Main().Hwnd()));
        Later::Run([&] {
            innerRan = true;
            EXPECT_FALSE(IsWindowEnabled(c.Hwnd()));
            EXPECT_FALSE(IsWindowEnabled(a.Hwnd()));
            SetActiveWindow(a.Hwnd());  // activated all the same: the innermost modal form takes it back
            Pump(app);
            EXPECT_EQ(GetActiveWindow(), b.Hwnd());
            b.Hide();
        });
        b.ShowModal(c.Hwnd());
        EXPECT_TRUE(IsWindowEnabled(c.Hwnd()));
        EXPECT_EQ(GetActiveWindow(), c.Hwnd());
        c.Unload();
    });
    c.ShowModal(a.Hwnd());
    EXPECT_TRUE(innerRan);
    EXPECT_TRUE(IsWindowEnabled(a.Hwnd()));
    EXPECT_EQ(GetActiveWindow(), a.Hwnd());
}

// As a destructor does while the form is shown modally: its owner takes input again at once.
TEST_F(FormLifetime, DestroyingAModalFormsWindowEndsTheShowing) {
    a.Show();
    b.Load();
    EnableWindow(b.Hwnd(), FALSE);
    Later::Run([&] {
        c.DestroyFormWindow();
        EXPECT_TRUE(IsWindowEnabled(a.Hwnd()));
        EXPECT_FALSE(ReturnActivationToModal(app.Forms(), b.Hwnd()));  // no modal window left
        EXPECT_FALSE(c.IsLoaded());
    });
    c.ShowModal(a.Hwnd());
    EXPECT_EQ(app.Forms().Loaded(), (std::vector<Form*>{&a, &b}));
}

// A handler that reloads its form in the middle of a message: what the
// message still does by default goes to the window it came for, not the new one.
TEST_F(FormLifetime, TheDefaultPathAnswersForTheWindowTheMessageCameFor) {
    a.Show();
    const HWND first = a.Hwnd();
    a.onMessage = [&](UINT msg) {
        if (msg != WM_SETTEXT || a.Hwnd() != first) return;
        a.Unload();
        a.Show();
    };
    SetWindowTextW(first, L"renamed");
    ASSERT_NE(a.Hwnd(), first);
    EXPECT_EQ(WindowText(a.Hwnd()), L"Test");
}

// Texts that fit, that fit only in smaller type and that fit in none.
constexpr ControlRow kFitted[] = {
    {.id = 20, .kind = ControlKind::Label, .caption = L"Short", .at = {0, 0, 3000, 600},
     .fit = TextFit::Wrapped},
    {.id = 21, .kind = ControlKind::Label, .caption = L"One two three four five six seven eight nine ten",
     .at = {0, 600, 3000, 240}, .fit = TextFit::Wrapped},
    {.id = 22, .kind = ControlKind::PushCheckBox, .caption = L"Click here to visit the gateway now",
     .at = {0, 1200, 2400, 450}, .fit = TextFit::OneLine, .fitMargin = 4},
    {.id = 23, .kind = ControlKind::Label, .at = {0, 1800, 150, 150}, .fit = TextFit::OneLine},
};

class FitForm final : public Form {
public:
    explicit FitForm(FormRegistry& registry)
        : Form(registry, FormDesign{L"Annuvia_FitTest", L"Test", 4500, 2250, kFormBlue, kFitted}) {}

private:
    void Form_Load() override {
        SetWindowTextW(Control(23), std::wstring(200, L'W').c_str());
        FitTexts();
    }
};

TEST_F(FormLifetime, TextsKeepTheirTypeWhereItFitsElseTheLargestThatFitsNeverBelowHalf) {
    FitForm form{app.Forms()};
    form.Show();
    // -1: between half and the designed size; 425: the last quarter-point step not below half.
    const int expected[] = {825, -1, -1, 425};
    for (UINT dpi : {96u, 144u}) {
        const RECT suggested{0, 0, 700, 400};
        SendMessageW(form.Hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        HDC dc = CreateCompatibleDC(nullptr);
        for (std::size_t i = 0; i < std::size(kFitted); ++i) {
            const ControlRow& row = kFitted[i];
            HWND control = form.Control(row.id);
            const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
            const auto fits = [&](int size) {
                FontRow type = row.font;
                type.hundredthsOfPoint = size;
                HGDIOBJ old = SelectObject(dc, SharedFont(type, dpi));
                RECT box;
                GetClientRect(control, &box);
                const int margin = MulDiv(row.fitMargin, static_cast<int>(dpi), 96);
                InflateRect(&box, -margin, -margin);
                RECT rc{0, 0, box.right - box.left, 0};
                DrawTextW(dc, WindowText(control).c_str(), -1, &rc,
                          DT_CALCRECT | (row.fit == TextFit::OneLine ? DT_SINGLELINE : DT_WORDBREAK));
                SelectObject(dc, old);
                return rc.right <= box.right - box.left && rc.bottom <= box.bottom - box.top;
            };
            int size = row.font.hundredthsOfPoint;
            while (size > 0 && SharedFont(FontRow{row.font.face, size}, dpi) != font) size -= 25;
            SCOPED_TRACE(testing::Message() << dpi << " DPI, control " << row.id << ", size " << size);
            if (expected[i] > 0) {
                EXPECT_EQ(size, expected[i]);
            } else {
                EXPECT_TRUE(size < 825 && size > 825 / 2 && fits(size) && !fits(size + 25));
            }
        }
        DeleteDC(dc);
    }
}

}  // namespace
}  // namespace annuvia::test
