// What the windows meet besides ordinary use: names far longer than any box
// shows, and the clock turning to a new year between two calculations.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/build_values.h"
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
    const std::wstring text = WindowText(box);
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
        const std::wstring back = WindowText(app.Main().Control(id));
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
    for (const auto& [id, text] : names) EXPECT_TRUE(WindowText(app.Main().Control(id)) == text) << id;
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
        EXPECT_EQ(WindowText(box).size(), kLong) << id;
        EXPECT_TRUE(WindowText(box) == text) << id;
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
    for (const auto& [id, text] : fields) EXPECT_TRUE(WindowText(screen.Control(id)) == text) << id;
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

}  // namespace
}  // namespace annuvia::test
