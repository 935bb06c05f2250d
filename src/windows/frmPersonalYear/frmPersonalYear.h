#pragma once
// The result window: the result text of one calculation, and Back.

#include "core/numerology/numerology.h"
#include "core/platform/platform.h"
#include "forms/form.h"
#include "windows/frmPersonalYear/frmPersonalYear_ids.h"
#include "windows/program.h"

namespace annuvia {

class frmPersonalYear final : public Form {
public:
    using enum frmPersonalYearIds::Id;

    frmPersonalYear(FormRegistry& forms, Platform& platform, Program& program);

    // Puts the reading of a number in the text box, from its first line on.
    void ShowReading(PersonalYear number);
    void cmdback_Click();

private:
    void Form_Load() override;
    void Form_Unload() override;
    bool OnControlMessage(int id, UINT msg, WPARAM& wp, LPARAM lp, LRESULT* result) override;

    // What was copied out of the result text goes; nothing else does.
    void ClearClipboard() { platform_.ClearClipboard(Control(txtDisplay)); }
    // Each opens its page (core/web/modHelp.h) and does nothing else.
    void Label61_Click();
    void lblFullBrand_Click();
    void lblCobrand_Click();

    static const ControlEvent kEvents[];

    Platform& platform_;
    Program& program_;
};

}  // namespace annuvia
