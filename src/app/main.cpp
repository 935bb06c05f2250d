#include <windows.h>
#include <commctrl.h>

#include "app/app.h"
#include "platform/win32_platform.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    annuvia::Win32Platform platform;
    annuvia::App app(platform);
    app.Start();
    return app.Run();
}
