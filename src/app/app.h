#pragma once
// The program: its windows, the message loop and the one way it ends. It is
// what the windows ask for anything beyond themselves (windows/program.h).

#include <windows.h>

#include <memory>

#include "core/platform/platform.h"
#include "forms/form.h"
#include "windows/frmAbout/frmAbout.h"
#include "windows/frmMain/frmMain.h"
#include "windows/frmNagScreen/frmNagScreen.h"
#include "windows/frmNagScreen2/frmNagScreen2.h"
#include "windows/frmPersonalYear/frmPersonalYear.h"
#include "windows/program.h"

namespace annuvia {

class App : public Program {
public:
    explicit App(Platform& platform);
    virtual ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // Start-up: loads the start-up window, whose load runs the start-up sequence.
    void Start();
    // Runs the message loop until the process ends; returns the exit code.
    int Run();
    // Hands one message to the active form's dialog manager, or dispatches it.
    void Dispatch(MSG& msg);

    void CheckUpdateReminder() override;
    void ShowMainWindow() override;
    void BringBannerToFront(FrontBanner banner) override;
    void ShowResult(annuvia::PersonalYear number) override;
    void ShowAbout() override;
    void ExitHandOver(Form& closing) override;
    // Unloads every loaded window in load order, errors ignored, then ends the process.
    void UnloadAllAndEnd() override;
    HICON StartUpWindowIcon() override;

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
    std::unique_ptr<frmNagScreen> nagScreen_;
    std::unique_ptr<frmMain> main_;
    std::unique_ptr<frmPersonalYear> personalYear_;
    std::unique_ptr<frmAbout> about_;
    std::unique_ptr<frmNagScreen2> nagScreen2_;
    bool reminderAsked_ = false;
};

}  // namespace annuvia
