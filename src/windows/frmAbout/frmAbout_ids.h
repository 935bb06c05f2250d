#pragma once
// The About window's control ids: the window's own, and what the
// tests use to find its controls from outside.

namespace annuvia {

struct frmAboutIds {
    enum Id : int {
        cmdOK = 500, Picture1, Label2, Label1, lblHomePage, Label3, lblCobrand, Line1,
    };
};

}  // namespace annuvia
