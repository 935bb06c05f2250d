#pragma once
// The windows' layouts as designed, in twips (1/1440 inch), for the tests that
// check the real windows at every DPI, in-process and from outside. Written
// out here, not taken from the program, so that a wrong table in the program
// shows. Portable: no <windows.h>.

#include <span>

namespace annuvia::test {

struct DesignedFont {
    const wchar_t* face;
    int hundredthsOfPoint;
    bool bold = false;
    bool underline = false;
};

inline constexpr DesignedFont kV825{L"Verdana", 825};
inline constexpr DesignedFont kV825Bold{L"Verdana", 825, true};
inline constexpr DesignedFont kV825Link{L"Verdana", 825, false, true};
inline constexpr DesignedFont kV825Banner{L"Verdana", 825, true, true};
inline constexpr DesignedFont kV900Link{L"Verdana", 900, false, true};
inline constexpr DesignedFont kV900{L"Verdana", 900};
inline constexpr DesignedFont kV900BoldLink{L"Verdana", 900, true, true};
inline constexpr DesignedFont kV975Bold{L"Verdana", 975, true};
inline constexpr DesignedFont kV1425{L"Verdana", 1425};
inline constexpr DesignedFont kSans825{L"MS Sans Serif", 825};
inline constexpr DesignedFont kSans1800{L"MS Sans Serif", 1800};

// How a control's caption must fit its box.
enum class Fit {
    None,       // no caption, or one the control scrolls (text boxes)
    Wrapped,    // wrapped at the box's width, within its height
    OneLine,    // one line within the width, less the margin
    FrameLine,  // a frame's caption: one line along the top edge
};

struct DesignedControl {
    const char* name;
    int id;
    int parentId;  // 0: the window itself
    int left, top, width, height;
    DesignedFont font;
    Fit fit = Fit::None;
    int margin = 0;          // pixels at 96 DPI kept clear on each side of a one-line caption
    bool dropList = false;   // the height is the open list's; the closed box takes the font's
    bool selfSized = false;  // sizes itself to its caption: no designed size
    bool fitted = false;     // may step its type down a quarter point at a time to fit
};

struct DesignedWindow {
    const char* name;
    const wchar_t* className;
    int clientWidth, clientHeight;
    std::span<const DesignedControl> controls;
};

inline constexpr DesignedControl kMainControls[] = {
    {"Frame2", 100, 0, 75, 45, 6255, 615, kV825},
    {"Label61", 101, 100, 120, 120, 6015, 420, kV900Link, Fit::Wrapped, 0, false, false, true},
    {"fraName", 110, 0, 75, 705, 6255, 1605, kV825Bold, Fit::FrameLine},
    {"Label1", 111, 110, 120, 300, 1905, 225, kSans825, Fit::Wrapped},
    {"Label4", 112, 110, 2145, 300, 1965, 225, kSans825, Fit::Wrapped},
    {"Label5", 113, 110, 4230, 300, 1935, 225, kSans825, Fit::Wrapped},
    {"txtFirstName", 114, 110, 120, 525, 1905, 285, kV825},
    {"txtMiddleName", 115, 110, 2145, 525, 1965, 285, kV825},
    {"txtLastName", 116, 110, 4230, 525, 1935, 285, kV825},
    {"fraBirthDay", 120, 110, 105, 885, 6045, 645, kV825Bold, Fit::FrameLine},
    {"cboMonth", 121, 120, 120, 240, 1455, 2700, kV825, Fit::None, 0, true},
    {"cboDate", 122, 120, 1695, 240, 855, 2700, kV825, Fit::None, 0, true},
    {"cboYear", 123, 120, 2670, 240, 975, 2700, kV825, Fit::None, 0, true},
    {"cmdNext", 124, 120, 3885, 240, 1965, 315, kV825, Fit::OneLine, 2},
    {"fraFullBrand", 130, 0, 75, 2385, 6255, 855, kV825},
    {"lblFullBrand", 131, 130, 120, 165, 6015, 615, kV825Banner, Fit::Wrapped},
    {"lblCobrand", 132, 130, 120, 165, 6015, 615, kV825Banner, Fit::Wrapped},
    {"cmdExit", 140, 0, 75, 3600, 1095, 375, kV825},  // hidden, below the client area
};

inline constexpr DesignedControl kResultControls[] = {
    {"Frame2", 300, 0, 38, 45, 6300, 615, kV825},
    {"Label61", 301, 300, 120, 120, 6060, 420, kV900Link, Fit::Wrapped, 0, false, false, true},
    {"cmdprint", 310, 0, 4065, 3750, 1095, 375, kV825},  // hidden
    {"cmdback", 311, 0, 5243, 3750, 1095, 375, kV825, Fit::OneLine, 2},
    {"txtDisplay", 312, 0, 38, 720, 6300, 2955, kV825},
    {"fraFullBrand", 320, 0, 38, 4230, 6300, 855, kV825},
    {"lblFullBrand", 321, 320, 120, 165, 6060, 615, kV825Banner, Fit::Wrapped},
    {"lblCobrand", 322, 320, 120, 165, 6060, 615, kV825Banner, Fit::Wrapped},
};

inline constexpr DesignedControl kAboutControls[] = {
    {"cmdOK", 500, 0, 5400, 3240, 1260, 345, kV825, Fit::OneLine, 2},
    {"Picture1", 501, 0, 120, 120, 480, 480, kV825},
    {"Label2", 502, 0, 840, 90, 5295, 255, kV975Bold, Fit::OneLine},
    {"Label1", 503, 0, 840, 360, 5775, 1635, kV825, Fit::Wrapped},
    {"lblHomePage", 504, 0, 2640, 1920, 4050, 195, kV825Link, Fit::OneLine},
    {"Label3", 505, 0, 840, 2160, 5685, 615, kV825Bold, Fit::Wrapped},
    {"lblCobrand", 506, 0, 4440, 2760, 2355, 195, kV825Link, Fit::OneLine},
    {"Line1", 507, 0, -60, 3150, 6900, 15, kV825},
};

inline constexpr DesignedControl kExitControls[] = {
    {"cmdClose", 404, 0, 6000, 2760, 1245, 375, kV825, Fit::OneLine, 2},
    {"picNagscreen2Icon", 400, 0, 360, 120, 540, 540, kV825},
    {"lblNagScreen2Caption", 401, 0, 1080, 240, 0, 0, kSans1800, Fit::OneLine, 0, false, true},
    {"Label2", 402, 0, 120, 840, 6975, 1095, kV975Bold, Fit::Wrapped, 0, false, false, true},
    {"Check1", 403, 0, 30, 2040, 7185, 555, kV1425, Fit::OneLine, 4, false, false, true},
    {"Frame2", 410, 0, 120, 3240, 7065, 1455, kV975Bold, Fit::FrameLine},
    {"txtName", 411, 410, 85, 360, 3375, 285, kV825},
    {"cmdSubmit", 412, 410, 1920, 1080, 3375, 285, kV825Bold, Fit::OneLine, 2},
    {"txtEmail", 413, 410, 3600, 360, 3375, 285, kV825},
    {"txtFriendEmail", 414, 410, 3600, 720, 3375, 285, kV825},
    {"txtFriendName", 415, 410, 85, 720, 3375, 285, kV825},
    {"txtMessage", 416, 410, 4800, 3600, 1815, 495, kV825},  // below the frame's edge
    {"Frame6", 420, 0, 7320, 120, 3735, 4575, kV975Bold, Fit::FrameLine},
    {"Label3", 421, 420, 120, 360, 3495, 3855, kV900, Fit::Wrapped, 0, false, false, true},
    {"lblGoToHome", 422, 420, 75, 4250, 3585, 210, kV900BoldLink, Fit::Wrapped, 0, false, false, true},
};

inline constexpr DesignedWindow kMainWindow{"main window", L"Annuvia_frmMain", 6405, 3450, kMainControls};
inline constexpr DesignedWindow kResultWindow{"result window", L"Annuvia_frmPersonalYear", 6375, 5220,
                                              kResultControls};
inline constexpr DesignedWindow kAboutWindow{"About window", L"Annuvia_frmAbout", 6825, 3690, kAboutControls};
inline constexpr DesignedWindow kExitScreen{"exit screen", L"Annuvia_frmNagScreen2", 11115, 4725, kExitControls};

}  // namespace annuvia::test
