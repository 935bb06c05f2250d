#pragma once
// The exit screen's control ids: the window's own, and what the
// tests use to find its controls from outside.

namespace annuvia {

struct frmNagScreen2Ids {
    enum Id : int {
        picNagscreen2Icon = 400, lblNagScreen2Caption, Label2, Check1, cmdClose,
        Frame2 = 410, txtName, cmdSubmit, txtEmail, txtFriendEmail, txtFriendName, txtMessage,
        Frame6 = 420, Label3, lblGoToHome,
        lblForName = 430, lblForEmail, lblForFriendEmail, lblForFriendName, lblForMessage,
    };
};

}  // namespace annuvia
