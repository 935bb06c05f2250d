#include <windows.h>
#include <commctrl.h>

#include "app/app.h"
#include "platform/win32_platform.h"
#include "ui/bench_marks.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    ANNUVIA_MARK("wWinMain");
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    ANNUVIA_MARK("common controls");
    annuvia::Win32Platform platform;
    annuvia::App app(platform);
    app.Start();
    ANNUVIA_MARK("start-up done");
    return app.Run();
}
