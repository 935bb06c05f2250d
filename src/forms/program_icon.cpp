#include "forms/program_icon.h"

#include <map>

#include "resource.h"
#include "win32/system_function.h"

namespace annuvia {

HICON ProgramIcon(int pixels) {
    static std::map<int, HICON> icons;
    if (const auto known = icons.find(pixels); known != icons.end()) return known->second;
    using LoadIconWithScaleDownFn = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
    static const auto scaleDown = LoadedFunction<LoadIconWithScaleDownFn>(L"comctl32.dll", "LoadIconWithScaleDown");
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    HICON icon = nullptr;
    if (!scaleDown || FAILED(scaleDown(instance, MAKEINTRESOURCEW(IDI_ANNUVIA), pixels, pixels, &icon)))
        icon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_ANNUVIA), IMAGE_ICON, pixels, pixels, 0));
    if (icon) icons.emplace(pixels, icon);
    return icon;
}

}  // namespace annuvia
