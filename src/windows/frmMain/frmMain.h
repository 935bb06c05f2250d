#pragma once
// The main window: three names, a date of birth from three lists, and Next.

#include "core/input/entry_check.h"
#include "core/platform/platform.h"
#include "forms/form.h"
#include "windows/frmMain/frmMain_ids.h"
#include "windows/program.h"

namespace annuvia {

class frmMain final : public Form {
public:
    using enum frmMainIds::Id;

    frmMain(FormRegistry& forms, Platform& platform, Program& program);

    void cmdNext_Click();
    void cmdExit_Click();
    void mnuAbout_Click();
    // Puts one banner in front of the other (or leaves them as created).
    void BringBannerToFront(FrontBanner banner);

private:
    void Form_Load() override;
    void Form_Unload() override;
    HMENU CreateFormMenu() override;
    void OnCommand(int id, int code) override;
    bool OnControlMessage(int id, UINT msg, WPARAM& wp, LPARAM lp, LRESULT* result) override;

    bool ValidateInput();
    MainEntries ReadEntries() const;
    std::wstring ChosenText(int listId) const;

    Platform& platform_;
    Program& program_;
};

}  // namespace annuvia
