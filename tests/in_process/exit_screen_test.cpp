// The exit screen and the way out of the program: which windows are up after
// each way of leaving, the screen's texts and colours, its links and keys,
// and the refer-a-friend form driven through its real boxes and button.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "resource.h"
#include "support/build_values.h"
#include "in_process/recording_platform.h"

namespace annuvia::test {
namespace {

using M = frmMain;
using N = frmNagScreen2;
using R = frmPersonalYear;

// The program, with the hand-overs and the calls of the end counted.
struct CountingApp final : App {
    using App::App;
    void ExitHandOver(Form& closing) override {
        ++handOvers[&closing];
        App::ExitHandOver(closing);
    }
    void UnloadAllAndEnd() override {
        ++endCalls;
        App::UnloadAllAndEnd();
    }
    std::map<Form*, int> handOvers;
    int endCalls = 0;
};

// One run of the program.
struct Session {
    explicit Session(float supportDraw = 0.3f) {
        SetCursorPos(0, 0);  // keep the real pointer off the windows
        platform.randoms = {0.99f, supportDraw};  // the banner draw, then the exit screen's
        app.Start();
        Pump(app);
    }
    HWND C(int id) { return app.NagScreen2().Control(id); }
    void Next() { FillAndNext(app); }
    void FileExit() {
        SendMessageW(app.Main().Hwnd(), WM_COMMAND, MAKEWPARAM(M::mnuExit, 0), 0);
        Pump(app);
    }
    void Close(Form& form) {
        SendMessageW(form.Hwnd(), WM_CLOSE, 0, 0);
        Pump(app);
    }
    void Back() {
        Click(app.PersonalYear().Control(R::cmdback));
        Pump(app);
    }

    RecordingPlatform platform;
    CountingApp app{platform};
    std::map<Form*, int>& handOvers = app.handOvers;
    int& endCalls = app.endCalls;
};

TEST(ExitSequence, EachWayOutLeavesTheWindowsAsExpected) {
    struct Case {
        const char* how;
        std::function<void(Session&)> act;
        bool mainLoaded, mainVisible, exitVisible;
        int mainHandOvers, resultHandOvers;
    };
    const Case cases[] = {
        // File, Exit hands over, and the main window's unload hands over again.
        {"File, Exit", [](Session& s) { s.FileExit(); }, false, false, true, 2, 0},
        {"main close box", [](Session& s) { s.Close(s.app.Main()); }, false, false, true, 1, 0},
        {"result close box", [](Session& s) { s.Next(); s.Close(s.app.PersonalYear()); }, true, false, true, 0, 1},
        {"Back", [](Session& s) { s.Next(); s.Back(); }, true, true, false, 0, 1},
        {"Back, then File, Exit", [](Session& s) { s.Next(); s.Back(); s.FileExit(); }, false, false, true, 2, 1},
        {"Back twice, then main close box",
         [](Session& s) { s.Next(); s.Back(); s.Next(); s.Back(); s.Close(s.app.Main()); }, false, false, true, 1, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        Session s;
        c.act(s);
        frmNagScreen2& exitScreen = s.app.NagScreen2();
        ASSERT_TRUE(exitScreen.IsLoaded());
        EXPECT_EQ(s.app.Main().IsLoaded(), c.mainLoaded);
        EXPECT_EQ(s.app.Main().IsVisible(), c.mainVisible);
        EXPECT_FALSE(s.app.PersonalYear().IsLoaded());
        EXPECT_EQ(exitScreen.IsVisible(), c.exitVisible);
        EXPECT_FALSE(IsWindowVisible(s.app.NagScreen().Hwnd()));
        EXPECT_TRUE(GetWindowLongW(exitScreen.Hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_EQ(s.handOvers[&s.app.Main()], c.mainHandOvers);
        EXPECT_EQ(s.handOvers[&s.app.PersonalYear()], c.resultHandOvers);
        // Loaded once: one seed besides start-up's, one draw, the text it picked.
        EXPECT_EQ(s.platform.seeds, 2);
        EXPECT_TRUE(s.platform.randoms.empty());
        EXPECT_EQ(WindowText(s.C(N::Label2)), kSupportTexts[1]);
        EXPECT_EQ(s.app.Forms().Loaded().back(), &exitScreen);
        if (c.exitVisible) {
            EXPECT_EQ(GetFocus(), s.C(N::cmdClose));
        } else {
            EXPECT_EQ(GetActiveWindow(), s.app.Main().Hwnd());
        }
        // Nothing ends, asks or opens on the way.
        EXPECT_EQ(s.endCalls, 0);
        EXPECT_TRUE(s.platform.ends.empty());
        EXPECT_TRUE(s.platform.messages.empty());
        EXPECT_TRUE(s.platform.pages.empty());
    }
}

TEST(ExitSequence, OnlyTheExitScreenEndsTheProgramAndEscDoesNot) {
    struct Case {
        const char* how;
        std::function<void(Session&)> act;
        bool ends;
    };
    const Case cases[] = {
        {"Exit button", [](Session& s) { Click(s.C(N::cmdClose)); }, true},
        {"close box", [](Session& s) { s.Close(s.app.NagScreen2()); }, true},
        {"Enter on Exit", [](Session& s) { Key(s.app, s.C(N::cmdClose), WM_KEYDOWN, VK_RETURN); }, true},
        {"Alt+X", [](Session& s) { Key(s.app, s.C(N::txtName), WM_SYSCHAR, 'x', 1 << 29); }, true},
        {"Esc on Exit", [](Session& s) { Key(s.app, s.C(N::cmdClose), WM_KEYDOWN, VK_ESCAPE); }, false},
        {"Esc in the message box",
         [](Session& s) {
             SetFocus(s.C(N::txtMessage));
             Key(s.app, s.C(N::txtMessage), WM_KEYDOWN, VK_ESCAPE);
             Key(s.app, s.C(N::txtMessage), WM_CHAR, VK_ESCAPE);
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        Session s;
        s.Next();
        s.Close(s.app.PersonalYear());  // the main window stays loaded, hidden
        ASSERT_TRUE(s.app.NagScreen2().IsVisible());
        c.act(s);
        Pump(s.app);
        if (c.ends) {
            EXPECT_EQ(s.platform.ends, (std::vector<unsigned>{0}));
            // The main window's unload ran once, inside the end, and loaded nothing anew.
            EXPECT_EQ(s.handOvers[&s.app.Main()], 1);
            EXPECT_EQ(s.platform.seeds, 2);
        } else {
            EXPECT_EQ(s.endCalls, 0);
            EXPECT_TRUE(s.app.NagScreen2().IsVisible());
        }
        EXPECT_TRUE(s.platform.messages.empty());
    }
}

TEST(ExitSequence, TheSupportTextIsFloorOfFourTimesTheDraw) {
    const struct { float u; int r; } draws[] = {
        {0.0f, 0}, {0.2499f, 0}, {0.25f, 1}, {0.5f, 2}, {0.7499f, 2}, {0.75f, 3}, {0.99999994f, 3}};
    for (const auto& d : draws) {
        Session s(d.u);
        s.FileExit();
        EXPECT_EQ(WindowText(s.C(N::Label2)), kSupportTexts[d.r]) << d.u;
    }
}

class ExitScreen : public testing::Test {
public:
    void SetUp() override {
        s.FileExit();
        ASSERT_TRUE(s.app.NagScreen2().IsVisible());
    }
    HWND C(int id) { return s.C(id); }
    HWND Window() { return s.app.NagScreen2().Hwnd(); }
    Session s;
};

// Where each control stands, its font and that its text is whole at every
// DPI: the layout table (layout_test.cpp).
TEST_F(ExitScreen, ControlsHaveTheirTextsAndColours) {
    EXPECT_EQ(WindowText(Window()), kTitle);
    constexpr COLORREF kAny = 0xFFFFFFFF, kNavy = RGB(0, 0, 128), kBlack = RGB(0, 0, 0);
    const std::wstring visit = L"Click here to visit " + kHost + L" now";
    struct Case {
        int id;
        const wchar_t* text;
        COLORREF ink, paper;
    };
    const Case cases[] = {
        {N::picNagscreen2Icon, L"", kAny, kWhite},
        {N::Label2, kSupportTexts[1], kBlack, kWhite},
        {N::Check1, visit.c_str(), kAny, kAny},
        {N::cmdClose, L"E&xit", kAny, kAny},
        {N::Frame2, L"Refer A Friend", kWhite, kNavy},
        {N::txtName, L"Your Name", kBlack, kWhite},
        {N::txtEmail, L"Your Email Address", kBlack, kWhite},
        {N::txtFriendName, L"Friend's Name", kBlack, kWhite},
        {N::txtFriendEmail, L"Friend's Email Address", kBlack, kWhite},
        {N::cmdSubmit, L"Refer A Friend &Now", kAny, kAny},
        {N::txtMessage, L"Your Message\r\n", kBlack, kWhite},
        {N::Frame6, L"Download Corvane Softwares", kWhite, kNavy},
        {N::Label3, kOtherSoftwaresText, kWhite, kNavy},
        {N::lblGoToHome, L"Click Here To Visit Corvane Softwares", RGB(255, 255, 0), kNavy},
    };
    HDC dc = CreateCompatibleDC(nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        HWND control = C(c.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(WindowText(control), c.text);
        EXPECT_TRUE(IsWindowVisible(control) && IsWindowEnabled(control));
        SendMessageW(Window(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
        if (c.ink != kAny) {
            EXPECT_EQ(GetTextColor(dc), c.ink);
        }
        if (c.paper != kAny) {
            EXPECT_EQ(GetBkColor(dc), c.paper);
        }
    }
    DeleteDC(dc);

    // The caption, exactly as big as its text in its large type: the layout table.
    EXPECT_EQ(WindowText(C(N::lblNagScreen2Caption)), kTitle);

    EXPECT_NE(SendMessageW(Window(), WM_GETICON, ICON_BIG, 0), 0);
    // The message box lies wholly below its frame's edge: never seen.
    RECT frame, message, seen;
    GetWindowRect(C(N::Frame2), &frame);
    GetWindowRect(C(N::txtMessage), &message);
    EXPECT_FALSE(IntersectRect(&seen, &frame, &message));
    const LONG messageStyle = GetWindowLongW(C(N::txtMessage), GWL_STYLE);
    EXPECT_TRUE((messageStyle & ES_MULTILINE) && (messageStyle & WS_VSCROLL) && !(messageStyle & ES_READONLY));
    for (int id : {N::txtName, N::txtEmail, N::txtFriendEmail, N::txtFriendName, N::txtMessage}) {
        // No length limit: 0x7FFFFFFE for a single-line edit, 0xFFFFFFFF for a
        // multi-line one, an unsigned count (a negative LRESULT on 32-bit Windows).
        EXPECT_GE(static_cast<DWORD>(SendMessageW(C(id), EM_GETLIMITTEXT, 0, 0)), 0x7FFFFFFEu) << id;
    }
    const LONG checkStyle = GetWindowLongW(C(N::Check1), GWL_STYLE);
    EXPECT_EQ(checkStyle & BS_TYPEMASK, BS_AUTOCHECKBOX);
    EXPECT_TRUE(checkStyle & BS_PUSHLIKE);
    // Label3's paragraphs: 61 spaces between them, the typographic apostrophe, one space at the end.
    const std::wstring other = kOtherSoftwaresText;
    EXPECT_NE(other.find(L"interests." + std::wstring(61, L' ') + L"All the programs"), std::wstring::npos);
    EXPECT_NE(other.find(L"world\u2019s largest"), std::wstring::npos);
    EXPECT_EQ(other.substr(other.size() - 8), L"family. ");
}

TEST_F(ExitScreen, CheckBoxAndLinkOpenTheirPageOnce) {
    const auto click = [](HWND control) {
        SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    };
    struct Case {
        const char* how;
        std::function<void()> act;
        const wchar_t* key;
    };
    const Case cases[] = {
        {"mouse on the check box", [&] { click(C(N::Check1)); }, L"home-page"},
        {"space bar on the check box",
         [&] {
             SetFocus(C(N::Check1));
             Key(s.app, C(N::Check1), WM_KEYDOWN, VK_SPACE);
             Key(s.app, C(N::Check1), WM_CHAR, L' ');
             Key(s.app, C(N::Check1), WM_KEYUP, VK_SPACE, 0xC0000001);
         },
         L"home-page"},
        {"mouse on the link", [&] { click(C(N::lblGoToHome)); }, L"corvanesoftwares"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        s.platform.pages.clear();
        c.act();
        Pump(s.app);
        EXPECT_EQ(s.platform.pages, (std::vector<std::wstring>{kPage + c.key}));
        EXPECT_EQ(SendMessageW(C(N::Check1), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    }
    HCURSOR hand = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_HAND_POINTER));
    for (int id : {N::Check1, N::lblGoToHome}) {
        SetCursor(nullptr);
        SendMessageW(Window(), WM_SETCURSOR, reinterpret_cast<WPARAM>(C(id)), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor(), hand) << id;
    }
}

TEST_F(ExitScreen, TabVisitsEveryControlIncludingTheHiddenMessageAndComesBack) {
    const int order[] = {N::cmdClose,    N::Check1,         N::lblGoToHome,    N::txtName,    N::cmdSubmit,
                         N::txtEmail,    N::txtFriendEmail, N::txtFriendName,  N::txtMessage, N::cmdClose};
    ASSERT_EQ(GetFocus(), C(N::cmdClose));
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
        EXPECT_EQ(GetNextDlgTabItem(Window(), C(order[i + 1]), TRUE), C(order[i])) << i;  // Shift+Tab
        Key(s.app, GetFocus(), WM_KEYDOWN, VK_TAB);
        EXPECT_EQ(GetFocus(), C(order[i + 1])) << i;
    }
    EXPECT_EQ(WindowText(C(N::txtMessage)), L"Your Message\r\n");  // passing through changed nothing
}

TEST_F(ExitScreen, BoxesClearTheirPromptOnEntryAndGetItBackWhenLeftBlank) {
    struct Case {
        int id;
        const wchar_t *before, *onEntry;
        const wchar_t* typed;  // replaces the text before leaving; null: left as it is
        const wchar_t* onLeaving;
    };
    const Case cases[] = {
        {N::txtName, L"Your Name", L"", nullptr, L"Your Name"},
        {N::txtName, L"  Your Name ", L"", L"   ", L"Your Name"},
        {N::txtName, L"Your name", L"Your name", nullptr, L"Your name"},  // letter case counts
        {N::txtEmail, L"Your Email Address", L"", nullptr, L"Your Email Address"},
        {N::txtFriendEmail, L"Friend's Email Address", L"", L"b@c.d", L"b@c.d"},
        {N::txtFriendName, L"Friend's Name", L"", L"\t", L"\t"},  // only spaces count as blank
        // The message starts with a line break after its prompt: entering keeps it.
        {N::txtMessage, L"Your Message\r\n", L"Your Message\r\n", L"", L"Your Message"},
        {N::txtMessage, L"Your Message", L"", nullptr, L"Your Message"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        HWND box = C(c.id);
        SetWindowTextW(box, c.before);
        SetFocus(box);
        EXPECT_EQ(WindowText(box), c.onEntry);
        if (c.typed) SetWindowTextW(box, c.typed);
        SetFocus(C(N::cmdClose));
        EXPECT_EQ(WindowText(box), c.onLeaving);
    }
}

TEST_F(ExitScreen, SpaceTypedIntoAnAddressIsRefusedAndTheFocusStays) {
    const struct { int id; const wchar_t* expected; std::size_t messages; } cases[] = {
        {N::txtEmail, L"ab", 2}, {N::txtFriendEmail, L"ab", 2}, {N::txtName, L"a  b", 0},
        {N::txtFriendName, L"a  b", 0}, {N::txtMessage, L"a  b", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        s.platform.messages.clear();
        HWND box = C(c.id);
        SetWindowTextW(box, L"");
        // The message box takes the focus away while it is up, as a real one would.
        s.platform.onMessage = [&] { SetFocus(C(N::cmdClose)); };
        SetFocus(box);
        for (wchar_t typed : std::wstring(L"a  b")) Key(s.app, GetFocus(), WM_CHAR, typed);
        s.platform.onMessage = nullptr;
        EXPECT_EQ(WindowText(box), c.expected);
        EXPECT_EQ(GetFocus(), box);
        ASSERT_EQ(s.platform.messages.size(), c.messages);
        for (const RecordedMessage& m : s.platform.messages) {
            EXPECT_EQ(m.text, L"Email Address Cannot Contain Space");
            EXPECT_EQ(m.icon, MsgIcon::Critical);
            EXPECT_EQ(m.buttons, MsgButtons::OK);
            EXPECT_EQ(m.owner, Window());
        }
    }
    // Pasted text is not filtered.
    SetWindowTextW(C(N::txtEmail), L"");
    ASSERT_TRUE(PutClipboardText(L"a b@c.d"));
    SendMessageW(C(N::txtEmail), WM_PASTE, 0, 0);
    EXPECT_EQ(WindowText(C(N::txtEmail)), L"a b@c.d");
}

TEST_F(ExitScreen, SubmitShowsTheFirstFailedCheckOrOpensTheReferral) {
    const std::wstring referral = kPage + L"kzvx-refer-a-friend";
    const std::wstring folder = L"&taf6=" + kGateway + L"/annuvia/";
    const wchar_t* keep = nullptr;  // the box keeps the text it starts with
    struct Case {
        const char* what;
        const wchar_t *name, *email, *friendEmail, *friendName, *message;
        const wchar_t* expected;  // the message, or null: the page opens
        std::wstring address;
    };
    const Case cases[] = {
        {"untouched", keep, keep, keep, keep, keep, L"Please Enter Proper Email Address", {}},
        {"same once trimmed, no @", L"Ann", L" x", L"x  ", L"Bo", keep, L"Please Enter Distinct Email Addresses", {}},
        {"no .", L"Ann", L"a@bc", L"b@c.d", L"Bo", keep, L"Please Enter Proper Email Address", {}},
        {"name only spaces", L"   ", L"a@b.c", L"b@c.d", L"Bo", keep, L"Please Enter Your Name", {}},
        {"message back at its prompt", L"Ann", L"a@b.c", L"b@c.d", L"Bo", L"Your Message",
         L"Please Enter Your Message", {}},
        {"friend's name at its prompt", L"Ann", L"a@b.c", L"b@c.d", keep, keep, L"Please Enter Your Friend's Name", {}},
        {"untouched message, trimmed name", L" Ann Lee ", L"ann@x.com", L"bo@y.org", L"Bo", keep, nullptr,
         referral + L"&taf1=Ann%20Lee&taf2=ann%40x.com&taf3=Your%20Message%0D%0A&taf4=Bo&taf5=bo%40y.org" + folder},
        {"addresses differing in case", L"Ann", L"A.b@", L"a.b@", L"Bo", L"Hi & bye", nullptr,
         referral + L"&taf1=Ann&taf2=A.b%40&taf3=Hi%20%26%20bye&taf4=Bo&taf5=a.b%40" + folder},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Session run;
        run.FileExit();
        const std::pair<int, const wchar_t*> fields[] = {{N::txtName, c.name}, {N::txtEmail, c.email},
                                                         {N::txtFriendEmail, c.friendEmail},
                                                         {N::txtFriendName, c.friendName}, {N::txtMessage, c.message}};
        for (const auto& [id, text] : fields) {
            if (text) SetWindowTextW(run.C(id), text);
        }
        const std::wstring before = WindowText(run.C(N::txtName)) + WindowText(run.C(N::txtMessage));
        Click(run.C(N::cmdSubmit));
        Pump(run.app);
        if (c.expected) {
            ASSERT_EQ(run.platform.messages.size(), 1u);
            const RecordedMessage& m = run.platform.messages[0];
            EXPECT_EQ(m.text, c.expected);
            EXPECT_EQ(m.icon, MsgIcon::Critical);
            EXPECT_EQ(m.buttons, MsgButtons::OK);
            EXPECT_EQ(m.owner, run.app.NagScreen2().Hwnd());
            EXPECT_TRUE(run.platform.pages.empty());
        } else {
            EXPECT_TRUE(run.platform.messages.empty());
            EXPECT_EQ(run.platform.pages, (std::vector<std::wstring>{c.address}));
        }
        // The boxes keep their texts.
        EXPECT_EQ(WindowText(run.C(N::txtName)) + WindowText(run.C(N::txtMessage)), before);
        EXPECT_TRUE(run.app.NagScreen2().IsVisible());
    }
    // Alt+N presses the button too.
    Key(s.app, C(N::cmdClose), WM_SYSCHAR, 'n', 1 << 29);
    ASSERT_EQ(s.platform.messages.size(), 1u);
    EXPECT_EQ(s.platform.messages[0].text, L"Please Enter Proper Email Address");
}

}  // namespace
}  // namespace annuvia::test
