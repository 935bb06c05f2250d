#pragma once
// What a window asks of the program: everything that lies beyond the window
// itself. A window knows the platform seam, this interface and its own
// controls; the program object answers, and it alone knows all the windows.

#include <windows.h>

#include "core/numerology/numerology.h"
#include "core/web/cobrand.h"

namespace annuvia {

class Form;

class Program {
public:
    // The update reminder; it asks at most once a run.
    virtual void CheckUpdateReminder() = 0;
    // Shows the main window, loading it on first use, as the one window of the
    // program in view: the start-up window and the exit screen hide.
    virtual void ShowMainWindow() = 0;
    // Brings one of the main window's two banners to the front (or neither).
    virtual void BringBannerToFront(FrontBanner banner) = 0;
    // Opens the result window on the reading of a number.
    virtual void ShowResult(PersonalYear number) = 0;
    // Shows the About window, modal to the main window.
    virtual void ShowAbout() = 0;
    // The exit hand-over, run by the handlers of the window being closed:
    // the exit screen shows and the start-up window hides. The closing window
    // then unloads itself, or is already unloading (its Form_Unload runs the
    // hand-over too, which then finds its work done).
    virtual void ExitHandOver(Form& closing) = 0;
    // Unloads every window in load order and ends the process.
    virtual void UnloadAllAndEnd() = 0;
    // The start-up window's icon, image 1 of its image list, as an icon of
    // its own that the caller destroys (null when there is none).
    virtual HICON StartUpWindowIcon() = 0;

protected:
    ~Program() = default;
};

}  // namespace annuvia
