#pragma once
// The result window's control ids: the window's own, and what the
// tests use to find its controls from outside.

namespace annuvia {

struct frmPersonalYearIds {
    enum Id : int {
        Frame2 = 300, Label61,
        cmdprint = 310, cmdback, txtDisplay, lblForDisplay,
        fraFullBrand = 320, lblFullBrand, lblCobrand,
    };
};

}  // namespace annuvia
