#pragma once
// The program: its windows, the message loop and the one way it ends.

#include <windows.h>

#include <memory>

#include "core/platform/platform.h"
#include "windows/frmNagScreen/frmNagScreen.h"
#include "windows/app_context.h"
#include "forms/form.h"
#include "windows/frmAbout/frmAbout.h"
#include "windows/frmMain/frmMain.h"
#include "windows/frmNagScreen2/frmNagScreen2.h"
#include "windows/frmPersonalYear/frmPersonalYear.h"

namespace annuvia {

class App {
public:
    explicit App(Platform& platform);
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // Start-up: loads the start-up window, whose load runs the start-up sequence.
    void Start();
    // Runs the message loop until the process ends; returns the exit code.
    int Run();
    // Hands one message to the active form's dialog manager, or dispatches it.
    void Dispatch(MSG& msg);

    // Unloads every loaded window in load order, errors ignored, then ends the process.
    void UnloadAllAndEnd();
    // The exit hand-over, run inside the closing window's handler.
    void ExitHandOver(Form& closing);

    AppContext& Context() { return context_; }
    FormRegistry& Forms() { return forms_; }
    frmNagScreen& NagScreen() { return *nagScreen_; }
    frmMain& Main() { return *main_; }
    frmPersonalYear& PersonalYear() { return *personalYear_; }
    frmAbout& About() { return *about_; }
    frmNagScreen2& NagScreen2() { return *nagScreen2_; }

private:
    bool IsFormWindow(HWND hwnd) const;

    Platform& platform_;
    FormRegistry forms_;
    AppContext context_;
    std::unique_ptr<frmNagScreen> nagScreen_;
    std::unique_ptr<frmMain> main_;
    std::unique_ptr<frmPersonalYear> personalYear_;
    std::unique_ptr<frmAbout> about_;
    std::unique_ptr<frmNagScreen2> nagScreen2_;
    bool reminderAsked_ = false;
};

}  // namespace annuvia
