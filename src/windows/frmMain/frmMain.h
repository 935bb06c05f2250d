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

    // The window as designed: its class, size, colour and controls, and its
    // menu bar (the bench builds the same window plainly from them).
    static const FormDesign kDesign;
    static HMENU MenuBar();

    void cmdNext_Click();
    void cmdExit_Click();
    void mnuAbout_Click();
    // Puts one banner in front of the other (or leaves them as created).
    void BringBannerToFront(FrontBanner banner);

private:
    void Form_Load() override;
    void Form_Unload() override;
    HMENU CreateFormMenu() override;
    bool OnControlMessage(int id, UINT msg, WPARAM& wp, LPARAM lp, LRESULT* result) override;

    bool ValidateInput();
    MainEntries ReadEntries() const;
    std::wstring ChosenText(int listId) const;
    // Each opens its page (core/web/modHelp.h) and does nothing else.
    void Label61_Click();
    void lblFullBrand_Click();
    void lblCobrand_Click();
    void mnuOnline_Click();
    void mnuVisit_Click();
    void mnuUpdate_Click();
    void mnuDonate_Click();
    void mkmoney_Click();

    static const ControlEvent kEvents[];

    Platform& platform_;
    Program& program_;
};

}  // namespace annuvia
