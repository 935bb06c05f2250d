#include <windows.h>
#include <commctrl.h>

#include "app/app.h"
#include "win32/bench_marks.h"
#include "win32/system_function.h"
#include "win32/win32_platform.h"

namespace {

// No DLL is ever loaded from the program's own folder (a downloads folder,
// say, where anything may lie beside it): only from the system's. Windows
// without the call (before the update that brought it) keep their search order.
void LoadDllsFromTheSystemOnly() {
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    const auto set = annuvia::LoadedFunction<SetDefaultDllDirectoriesFn>(L"kernel32.dll", "SetDefaultDllDirectories");
    if (set) set(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    LoadDllsFromTheSystemOnly();
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
