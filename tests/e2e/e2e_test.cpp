// The real annuvia.exe, started as its own process and driven through its
// windows from outside, the way a user would meet it.

#include <gtest/gtest.h>

#include <string>

#include "e2e/driver.h"

namespace e2e {
namespace {

std::string Show(const std::wstring& text) { return Narrow(text); }

int CurrentYear() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return now.wYear;
}

// The personal year in closed form: the digit sum of day, month and year, folded to 1..9.
int ExpectedNumber(int day, int month, int year) { return 1 + (day + month + year - 1) % 9; }

class RealProgram : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(program.Start()) << Show(program.Error());
        main = WaitForTopWindow(kMainClass, kWindowTitle, program.Pid());
        ASSERT_NE(main, nullptr) << "the main window did not show";
        ASSERT_TRUE(WaitUntilIdle(main));
    }

    HWND Control(int id) {
        HWND control = FindControl(main, id);
        EXPECT_NE(control, nullptr) << "no control " << id << " in the main window";
        return control;
    }

    // What the three lists show, in the order day, month, year.
    void ExpectChosenDate(const wchar_t* day, const wchar_t* month, const wchar_t* year) {
        EXPECT_EQ(Show(ReadText(Control(ids::cboDate))), Show(day));
        EXPECT_EQ(Show(ReadText(Control(ids::cboMonth))), Show(month));
        EXPECT_EQ(Show(ReadText(Control(ids::cboYear))), Show(year));
    }

    // Closing the main window brings up the exit screen, whose Exit ends the program.
    void CloseAndExpectEnd() {
        ASSERT_TRUE(PostMessageW(main, WM_CLOSE, 0, 0));
        HWND exitScreen = WaitForTopWindow(kExitClass, kWindowTitle, program.Pid());
        ASSERT_NE(exitScreen, nullptr) << "no exit screen after closing the main window";
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(main); })) << "the main window stayed";
        EXPECT_TRUE(program.Running()) << "closing the main window ended the program";
        ASSERT_TRUE(PostClick(FindControl(exitScreen, ids::Exit::cmdClose)));
        ASSERT_TRUE(program.WaitForExit(10000)) << Show(program.Error());
        EXPECT_EQ(program.ExitCode(), 0u);
        EXPECT_FALSE(IsWindow(main));
        EXPECT_TRUE(VisibleWindowsOf(program.Pid()).empty());
    }

    ProgramRun program;
    HWND main = nullptr;
};

TEST_F(RealProgram, NextWithoutAFirstNameIsRefusedByAMessageBox) {
    ExpectChosenDate(L"1", L"January", L"1900");

    ASSERT_TRUE(PostClick(Control(ids::cmdNext)));
    HWND box = WaitForMessageBox(program.Pid());
    ASSERT_NE(box, nullptr) << "no message box after Next";
    EXPECT_EQ(Show(MessageBoxText(box)), "Please Enter Your First Name");
    // Modal to the main window: the main window takes no input while the box shows.
    EXPECT_EQ(GetWindow(box, GW_OWNER), main);
    EXPECT_FALSE(IsWindowEnabled(main));
    EXPECT_EQ(FindTopWindow(kResultClass, nullptr, program.Pid()), nullptr);

    ASSERT_TRUE(PressOk(box)) << "the message box stayed after OK";
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }, 5000));
    EXPECT_EQ(FindTopWindow(kResultClass, nullptr, program.Pid()), nullptr);
    EXPECT_EQ(FindMessageBox(program.Pid()), nullptr);

    CloseAndExpectEnd();
}

TEST_F(RealProgram, NextShowsThePersonalYearAndBackKeepsTheEntries) {
    HWND first = Control(ids::txtFirstName), last = Control(ids::txtLastName);
    ASSERT_TRUE(TypeText(first, L"ann"));
    ASSERT_TRUE(TypeText(last, L"lee"));
    EXPECT_EQ(Show(ReadText(first)), "ANN");
    EXPECT_EQ(Show(ReadText(last)), "LEE");
    ASSERT_TRUE(ChooseEntry(Control(ids::cboDate), L"29"));
    ASSERT_TRUE(ChooseEntry(Control(ids::cboMonth), L"March"));

    const int yearBefore = CurrentYear();
    ASSERT_TRUE(PostClick(Control(ids::cmdNext)));
    HWND result = WaitForTopWindow(kResultClass, kWindowTitle, program.Pid());
    ASSERT_NE(result, nullptr) << "no result window after Next";
    ASSERT_TRUE(WaitUntilIdle(result));
    const int yearAfter = CurrentYear();
    EXPECT_FALSE(IsWindowVisible(main)) << "the main window stays up behind the result";
    EXPECT_EQ(FindMessageBox(program.Pid()), nullptr);

    HWND display = FindControl(result, ids::Result::txtDisplay);
    ASSERT_NE(display, nullptr);
    const std::wstring text = ReadText(display);
    const std::wstring firstLine = text.substr(0, text.find(L"\r\n"));
    // Either year's number, should the year turn while Next runs.
    const std::wstring header = L"Your Personal Year Number is: ";
    if (firstLine != header + std::to_wstring(ExpectedNumber(29, 3, yearBefore))) {
        EXPECT_EQ(Show(firstLine), Show(header + std::to_wstring(ExpectedNumber(29, 3, yearAfter))));
    }
    EXPECT_GT(text.size(), firstLine.size() + 4) << "only the number, no readings";
    ASSERT_GE(text.size(), 8u);
    EXPECT_EQ(Show(text.substr(text.size() - 8)), "\r\n\r\n\r\n\r\n");

    ASSERT_TRUE(PostClick(FindControl(result, ids::Result::cmdback)));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(result); })) << "Back left the result window loaded";
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; })) << "Back did not show the main window";
    EXPECT_EQ(FindTopWindow(kResultClass, nullptr, program.Pid()), nullptr);
    ASSERT_TRUE(WaitUntilIdle(main));
    EXPECT_TRUE(program.Running()) << "Back ended the program";
    EXPECT_EQ(FindTopWindow(kExitClass, nullptr, program.Pid()), nullptr) << "Back left the exit screen up";
    EXPECT_EQ(Show(ReadText(first)), "ANN");
    EXPECT_EQ(Show(ReadText(last)), "LEE");
    EXPECT_EQ(Show(ReadText(Control(ids::txtMiddleName))), "");
    ExpectChosenDate(L"29", L"March", L"1900");

    CloseAndExpectEnd();
}

}  // namespace
}  // namespace e2e
