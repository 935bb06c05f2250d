// What the real program loads: a start with its reminder read loads neither
// the shell nor the date parser's DLLs; the first page it opens brings the
// shell in, and the page still reaches the browser.

#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "e2e/driver.h"
#include "core/web/gateway.h"

namespace e2e {
namespace {

// The lower-case names of the DLLs loaded in a process.
std::vector<std::wstring> ModulesOf(DWORD pid) {
    std::vector<std::wstring> names;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process) return names;
    HMODULE modules[512];
    DWORD bytes = 0;
    if (EnumProcessModules(process, modules, sizeof modules, &bytes)) {
        for (DWORD i = 0; i < bytes / sizeof(HMODULE) && i < 512; ++i) {
            wchar_t name[MAX_PATH] = {};
            if (!GetModuleBaseNameW(process, modules[i], name, MAX_PATH)) continue;
            CharLowerW(name);
            names.emplace_back(name);
        }
    }
    CloseHandle(process);
    return names;
}

bool Loaded(DWORD pid, const wchar_t* dll) {
    const std::vector<std::wstring> names = ModulesOf(pid);
    return std::find(names.begin(), names.end(), dll) != names.end();
}

TEST(LoadedModulesE2E, TheShellComesInWithTheFirstPageAndTheDateParserNotForARecentReminder) {
    BrowserRecorder browser;
    std::wstring error;
    ASSERT_TRUE(browser.Install(&error)) << Narrow(error);
    // Reminded ten days ago: the reminder reads the date and asks nothing.
    ASSERT_TRUE(SetStoredReminder(L"annuvia", ShortDateFromToday(-10)));
    ProgramRun program;
    ASSERT_TRUE(program.Start()) << Narrow(program.Error());
    HWND main = WaitForTopWindow(kMainClass, kWindowTitle, program.Pid());
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitUntilIdle(main));
    // Where 32-bit programs run through qemu-user (the Wine launcher says so),
    // qemu may place the 32-bit address space elsewhere in each process, and
    // another process's memory, its module list with it, cannot be read.
    if (GetEnvironmentVariableW(L"ANNUVIA_32BIT_UNDER_QEMU", nullptr, 0) != 0 && ModulesOf(program.Pid()).empty())
        GTEST_SKIP() << "the module list of another process cannot be read under qemu-user: qemu shifts the "
                        "32-bit address space";
    ASSERT_TRUE(Loaded(program.Pid(), L"user32.dll")) << "the module list cannot be read";
    for (const wchar_t* dll : {L"shell32.dll", L"oleaut32.dll"})
        EXPECT_FALSE(Loaded(program.Pid(), dll)) << Narrow(dll);
    EXPECT_EQ(StoredReminder(L"annuvia"), ShortDateFromToday(-10));  // read, not rewritten

    HWND link = FindControl(main, ids::Label61);
    ASSERT_NE(link, nullptr);
    PostMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    ASSERT_TRUE(browser.WaitForCount(1));
    EXPECT_EQ(browser.Addresses(), (std::vector<std::string>{Narrow(ANNUVIA_GATEWAY_BASE
                                                                    L"/annuvia/ssd.php?page=home-page")}));
    EXPECT_TRUE(Loaded(program.Pid(), L"shell32.dll"));
    EXPECT_TRUE(IsWindowVisible(main));
    SetStoredReminder(L"annuvia", ShortDateFromToday(0));  // later tests start without a box
}

}  // namespace
}  // namespace e2e
