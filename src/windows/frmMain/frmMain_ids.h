#pragma once
// The main window's control and menu ids: the window's own, and what the
// tests use to find its controls from outside.

namespace annuvia {

struct frmMainIds {
    enum Id : int {
        Frame2 = 100, Label61,
        fraName = 110, Label1, Label4, Label5, txtFirstName, txtMiddleName, txtLastName,
        fraBirthDay = 120, cboMonth, cboDate, cboYear, cmdNext, lblForMonth, lblForDate, lblForYear,
        fraFullBrand = 130, lblFullBrand, lblCobrand,
        cmdExit = 140,
        mnuNext = 200, mnuExit, mnuOnline = 210, mnuVisit, mnuUpdate, mnuAbout,
        mnuDonate = 220, mkmoney = 230,
    };
};

}  // namespace annuvia
