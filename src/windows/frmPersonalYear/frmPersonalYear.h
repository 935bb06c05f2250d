#pragma once
// The result window: the result text of one calculation, and Back.

#include "windows/app_context.h"
#include "forms/form.h"

namespace annuvia {

class frmPersonalYear final : public Form {
public:
    enum Id : int {
        Frame2 = 300, Label61,
        cmdprint = 310, cmdback, txtDisplay, lblForDisplay,
        fraFullBrand = 320, lblFullBrand, lblCobrand,
    };

    explicit frmPersonalYear(AppContext& context);

    void cmdback_Click();

private:
    void Form_Load() override;
    void Form_Unload() override;
    void OnCommand(int id, int code) override;
    bool OnControlMessage(int id, UINT msg, WPARAM& wp, LPARAM lp, LRESULT* result) override;

    void ClearClipboard() { context_.platform.ClearClipboard(); }

    AppContext& context_;
};

}  // namespace annuvia
