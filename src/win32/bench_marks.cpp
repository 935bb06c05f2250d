// The bench build's start-up marks (see bench_marks.h). The first mark is
// taken by a TLS callback, the first code of the program that runs, before
// the C runtime starts: the time up to it is the system's process start and
// the loading of the imported DLLs.

#include "win32/bench_marks.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace annuvia::bench {

namespace {

struct Entry {
    const char* step;
    const wchar_t* form;
    LONGLONG counter;
};

constexpr int kCapacity = 256;
Entry marks[kCapacity];
int markCount = 0;
bool written = false;

void NTAPI OnProcessAttach(PVOID, DWORD reason, PVOID) {
    if (reason == DLL_PROCESS_ATTACH) Mark("process entry");
}

}  // namespace

void Mark(const char* step, const wchar_t* form) {
    if (markCount == kCapacity) return;
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    marks[markCount++] = Entry{step, form, now.QuadPart};
}

void FirstIdle() {
    if (written) return;
    written = true;
    Mark("first idle");
    wchar_t path[MAX_PATH] = {}, temporary[MAX_PATH + 8] = {};
    const DWORD length = GetEnvironmentVariableW(L"ANNUVIA_BENCH_MARKS", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    std::swprintf(temporary, MAX_PATH + 8, L"%ls.part", path);
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    // "counter<TAB>step<TAB>form" per line after the counter's frequency; the
    // whole file written at once, so a reader never sees half of it.
    char text[kCapacity * 96 + 64];
    int used = std::snprintf(text, sizeof text, "frequency\t%lld\n", static_cast<long long>(frequency.QuadPart));
    for (int i = 0; i < markCount && used < static_cast<int>(sizeof text) - 96; ++i) {
        used += std::snprintf(text + used, sizeof text - static_cast<std::size_t>(used), "%lld\t%s\t%ls\n",
                              static_cast<long long>(marks[i].counter), marks[i].step,
                              marks[i].form ? marks[i].form : L"");
    }
    HANDLE file = CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD done = 0;
    WriteFile(file, text, static_cast<DWORD>(used), &done, nullptr);
    CloseHandle(file);
    MoveFileExW(temporary, path, MOVEFILE_REPLACE_EXISTING);
}

}  // namespace annuvia::bench

// The callback in the loader's list of TLS callbacks (between the C runtime's
// start .CRT$XLA and end .CRT$XLZ of that list).
extern "C" {
__attribute__((section(".CRT$XLB"), used)) const PIMAGE_TLS_CALLBACK annuviaBenchEntryMark =
    annuvia::bench::OnProcessAttach;
}
