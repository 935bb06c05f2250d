// annuvia_driver STEP: moves an already running annuvia.exe on by one step and
// returns once the program shows the step's window, so a picture can be taken.
//   wait-main         the main window shows and is idle
//   empty-next        Next with empty names; the message box is left up
//   dismiss-and-next  OK on the box, names ANN and LEE, 29 March 1976, Next;
//                     the result window shows
//   about             Help, About Software on the main window; the About window shows
//   close-about       Esc on the About window; it goes and the main window is idle
//   exit-screen       closes the result window (or, when none shows, File,
//                     Exit on the main window); the exit screen shows
// Exit code 0 on success; otherwise 1 with the reason on stderr (2: usage).

#include <cstdio>
#include <cstring>
#include <string>

#include "e2e/driver.h"

namespace {

using namespace e2e;

int Fail(const std::string& why) {
    std::fprintf(stderr, "annuvia_driver: %s\n", why.c_str());
    return 1;
}

HWND MainWindow() { return WaitForTopWindow(kMainClass, kWindowTitle); }

int WaitMain() {
    HWND main = MainWindow();
    if (!main) return Fail("the main window did not show");
    if (!WaitUntilIdle(main)) return Fail("the main window did not become idle");
    return 0;
}

int EmptyNext() {
    HWND main = MainWindow();
    if (!main) return Fail("the main window did not show");
    if (!ReadText(FindControl(main, ids::txtFirstName)).empty()) return Fail("the first name is not empty");
    if (!PostClick(FindControl(main, ids::cmdNext))) return Fail("no Next button");
    HWND box = WaitForMessageBox(ProcessOf(main));
    if (!box) return Fail("no message box after Next");
    if (!WaitUntilIdle(box)) return Fail("the message box did not become idle");
    return 0;
}

int DismissAndNext() {
    HWND main = FindTopWindow(kMainClass, kWindowTitle);
    if (!main) return Fail("the main window does not show");
    const DWORD pid = ProcessOf(main);
    HWND box = FindMessageBox(pid);
    if (!box) return Fail("no message box to dismiss");
    if (!PressOk(box)) return Fail("the message box stayed after OK");
    if (!WaitUntilIdle(main)) return Fail("the main window did not become idle");

    if (!TypeText(FindControl(main, ids::txtFirstName), L"ANN") ||
        !TypeText(FindControl(main, ids::txtLastName), L"LEE"))
        return Fail("could not type the names");
    if (!ChooseEntry(FindControl(main, ids::cboDate), L"29") ||
        !ChooseEntry(FindControl(main, ids::cboMonth), L"March") ||
        !ChooseEntry(FindControl(main, ids::cboYear), L"1976"))
        return Fail("could not choose the date of birth");
    if (!PostClick(FindControl(main, ids::cmdNext))) return Fail("no Next button");

    HWND result = WaitForTopWindow(kResultClass, kWindowTitle, pid);
    if (!result) {
        if (HWND refusal = FindMessageBox(pid)) return Fail("Next refused: " + Narrow(MessageBoxText(refusal)));
        return Fail("no result window after Next");
    }
    if (!WaitUntilIdle(result)) return Fail("the result window did not become idle");
    return 0;
}

int About() {
    HWND main = MainWindow();
    if (!main) return Fail("the main window did not show");
    // Posted: the About window is modal, and its loop runs inside the menu's handler.
    if (!PostMessageW(main, WM_COMMAND, MAKEWPARAM(ids::mnuAbout, 0), 0)) return Fail("could not choose About");
    HWND about = WaitForTopWindow(kAboutClass, kWindowTitle, ProcessOf(main));
    if (!about) return Fail("the About window did not show");
    if (!WaitUntilIdle(about)) return Fail("the About window did not become idle");
    return 0;
}

int CloseAbout() {
    HWND about = FindTopWindow(kAboutClass, kWindowTitle);
    if (!about) return Fail("the About window does not show");
    if (!PostMessageW(FindControl(about, ids::About::cmdOK), WM_KEYDOWN, VK_ESCAPE, 0)) return Fail("no OK button");
    if (!WaitUntilGone(about)) return Fail("the About window stayed after Esc");
    HWND main = MainWindow();
    if (!main || !IsWindowEnabled(main)) return Fail("the main window is not back");
    if (!WaitUntilIdle(main)) return Fail("the main window did not become idle");
    return 0;
}

int ExitScreen() {
    // The result window's close box, or File, Exit when only the main window shows.
    HWND from = FindTopWindow(kResultClass, kWindowTitle);
    if (from) {
        if (!PostMessageW(from, WM_CLOSE, 0, 0)) return Fail("could not close the result window");
    } else if ((from = FindTopWindow(kMainClass, kWindowTitle)) != nullptr) {
        if (!PostMessageW(from, WM_COMMAND, MAKEWPARAM(ids::mnuExit, 0), 0)) return Fail("could not choose File, Exit");
    } else {
        return Fail("neither the result window nor the main window shows");
    }
    HWND exitScreen = WaitForTopWindow(kExitClass, kWindowTitle, ProcessOf(from));
    if (!exitScreen) return Fail("the exit screen did not show");
    if (!WaitUntilIdle(exitScreen)) return Fail("the exit screen did not become idle");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const char* step = argc == 2 ? argv[1] : "";
    if (std::strcmp(step, "wait-main") == 0) return WaitMain();
    if (std::strcmp(step, "empty-next") == 0) return EmptyNext();
    if (std::strcmp(step, "dismiss-and-next") == 0) return DismissAndNext();
    if (std::strcmp(step, "exit-screen") == 0) return ExitScreen();
    if (std::strcmp(step, "about") == 0) return About();
    if (std::strcmp(step, "close-about") == 0) return CloseAbout();
    std::fprintf(stderr, "usage: annuvia_driver wait-main | empty-next | dismiss-and-next | exit-screen | about | close-about\n");
    return 2;
}
