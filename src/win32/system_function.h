#pragma once
// Functions of the system's DLLs looked up by name: those that not every
// Windows has, and those that only some runs need.

#include <windows.h>

namespace annuvia {

// A function of a module, or nullptr.
template <typename Fn>
Fn ModuleFunction(HMODULE module, const char* name) {
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// A function of a DLL every process of the program has loaded (kernel32,
// user32), or nullptr where this Windows has none of that name.
template <typename Fn>
Fn LoadedFunction(const wchar_t* dll, const char* name) {
    return ModuleFunction<Fn>(GetModuleHandleW(dll), name);
}

}  // namespace annuvia
