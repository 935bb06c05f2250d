// The installer in the Wine prefix (the 64-bit one, and in the i686 tree the
// 32-bit one in a 32-bit prefix): a silent install puts the program,
// its Start-menu shortcut and its entry in the list of installed programs in
// place; the installed program starts; a running copy stops both the installer
// and the uninstaller; and the silent uninstall that the entry names leaves no
// file, shortcut, entry or setting of the program behind, while another
// program's settings stay. ANNUVIA_SETUP names the installer (a Unix path).

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/version.h"
#include "e2e/driver.h"

namespace {

using e2e::Environment;
using e2e::Narrow;
using e2e::WindowsPathOf;
using namespace std::string_literals;

constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Annuvia";
constexpr wchar_t kProgramSettings[] = L"Software\\VB and VBA Program Settings\\annuvia";
constexpr wchar_t kNeighbour[] = L"Software\\VB and VBA Program Settings\\AnnuviaNeighbour";
constexpr wchar_t kNeighbourSettings[] = L"Software\\VB and VBA Program Settings\\AnnuviaNeighbour\\Settings";
constexpr DWORD kRunTimeoutMs = 60000;
// What the installer puts in the program's folder.
constexpr const wchar_t* kInstalledFiles[] = {L"annuvia.exe", L"README.txt", L"LICENSE.txt",
                                              L"THIRD-PARTY-NOTICES.txt", L"uninstall.exe"};

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::wstring result;
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path))) result = path;
    CoTaskMemFree(path);
    return result;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool KeyExists(const wchar_t* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

std::optional<std::wstring> RegString(const wchar_t* key, const wchar_t* name) {
    wchar_t value[1024] = {};
    DWORD bytes = sizeof value - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, value, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(value);
}

std::optional<DWORD> RegDword(const wchar_t* key, const wchar_t* name) {
    DWORD value = 0;
    DWORD bytes = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_DWORD, nullptr, &value, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

struct Outcome {
    bool finished = false;
    DWORD exitCode = 0;
    std::string error;
};

// Runs a command line and waits, within the timeout, until it and every
// process it started have ended: an uninstaller hands its work to a copy of
// itself and returns at once. The job holds them all; what is still running at
// the timeout is ended.
Outcome RunAndWait(std::wstring commandLine, DWORD timeoutMs = kRunTimeoutMs) {
    Outcome run;
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    if (!job) {
        run.error = "no job object, error " + std::to_string(GetLastError());
        return run;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                        &startup, &info)) {
        run.error = "could not start " + Narrow(commandLine) + ", error " + std::to_string(GetLastError());
        CloseHandle(job);
        return run;
    }
    if (!AssignProcessToJobObject(job, info.hProcess)) {
        run.error = "could not watch " + Narrow(commandLine) + ", error " + std::to_string(GetLastError());
        TerminateProcess(info.hProcess, 1);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
        CloseHandle(job);
        return run;
    }
    ResumeThread(info.hThread);
    const bool started = WaitForSingleObject(info.hProcess, timeoutMs) == WAIT_OBJECT_0;
    GetExitCodeProcess(info.hProcess, &run.exitCode);
    run.finished = started && e2e::WaitUntil(
                                  [&] {
                                      JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
                                      return QueryInformationJobObject(job, JobObjectBasicAccountingInformation,
                                                                       &accounting, sizeof accounting, nullptr) &&
                                             accounting.ActiveProcesses == 0;
                                  },
                                  timeoutMs);
    if (!run.finished) {
        run.error = Narrow(commandLine) + " did not end within " + std::to_string(timeoutMs) + " ms";
        TerminateJobObject(job, 1);
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    CloseHandle(job);
    return run;
}

std::wstring ShortcutTarget(const std::wstring& shortcut) {
    std::wstring target;
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link)))) return target;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_PPV_ARGS(&file)))) {
        wchar_t path[MAX_PATH] = {};
        if (SUCCEEDED(file->Load(shortcut.c_str(), STGM_READ)) &&
            SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH)))
            target = path;
        file->Release();
    }
    link->Release();
    return target;
}

class Installer : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        setup = WindowsPathOf(Environment(L"ANNUVIA_SETUP"));
        ASSERT_TRUE(Exists(setup)) << "no installer at '" << Narrow(setup) << "' (ANNUVIA_SETUP)";
        folder = KnownFolder(FOLDERID_LocalAppData) + L"\\Programs\\Annuvia";
        shortcut = KnownFolder(FOLDERID_Programs) + L"\\Annuvia.lnk";
        RemoveLeftovers();
    }
    void TearDown() override {
        RemoveLeftovers();
        RegDeleteTreeW(HKEY_CURRENT_USER, kNeighbour);
        CoUninitialize();
    }
    // What an earlier run that stopped half-way may have left in the prefix.
    void RemoveLeftovers() const {
        for (const wchar_t* name : kInstalledFiles)
            DeleteFileW((folder + L"\\" + name).c_str());
        RemoveDirectoryW(folder.c_str());
        DeleteFileW(shortcut.c_str());
        RegDeleteTreeW(HKEY_CURRENT_USER, kUninstallKey);
        e2e::DeleteSettings(L"annuvia");
    }
    std::wstring setup, folder, shortcut;
};

TEST_F(Installer, InstallsStartsAndUninstallsWithoutATrace) {
    // Another program's settings under the shared key.
    HKEY neighbour = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kNeighbourSettings, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              &neighbour, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(neighbour, L"Kept", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"yes"), 4 * sizeof(wchar_t));
    RegCloseKey(neighbour);

    const Outcome install = RunAndWait(L"\"" + setup + L"\" /S");
    ASSERT_TRUE(install.finished) << install.error;
    ASSERT_EQ(install.exitCode, 0u);

    const std::wstring exe = folder + L"\\annuvia.exe";
    for (const wchar_t* name : kInstalledFiles)
        EXPECT_TRUE(Exists(folder + L"\\" + name)) << Narrow(name) << " is not in " << Narrow(folder);
    ASSERT_TRUE(Exists(shortcut)) << "no shortcut " << Narrow(shortcut);
    EXPECT_EQ(_wcsicmp(ShortcutTarget(shortcut).c_str(), exe.c_str()), 0)
        << "the shortcut leads to '" << Narrow(ShortcutTarget(shortcut)) << "'";

    EXPECT_EQ(RegString(kUninstallKey, L"DisplayName"), L"Annuvia"s);
    EXPECT_EQ(RegString(kUninstallKey, L"DisplayVersion"), std::wstring(L"" ANNUVIA_VERSION_TEXT));
    EXPECT_EQ(RegString(kUninstallKey, L"Publisher"), std::wstring(L"" ANNUVIA_PUBLISHER));
    EXPECT_EQ(RegString(kUninstallKey, L"DisplayIcon"), exe);
    EXPECT_EQ(RegString(kUninstallKey, L"InstallLocation"), folder);
    EXPECT_EQ(RegString(kUninstallKey, L"UninstallString"), L"\"" + folder + L"\\uninstall.exe\"");
    EXPECT_EQ(RegDword(kUninstallKey, L"NoModify"), 1u);
    EXPECT_EQ(RegDword(kUninstallKey, L"NoRepair"), 1u);
    WIN32_FILE_ATTRIBUTE_DATA program{};
    ASSERT_TRUE(GetFileAttributesExW(exe.c_str(), GetFileExInfoStandard, &program));
    const std::optional<DWORD> kilobytes = RegDword(kUninstallKey, L"EstimatedSize");
    ASSERT_TRUE(kilobytes.has_value());
    EXPECT_GE(*kilobytes, program.nFileSizeLow / 1024) << "EstimatedSize is less than the program alone";
    EXPECT_LT(*kilobytes, 4096u);
    const std::optional<std::wstring> quiet = RegString(kUninstallKey, L"QuietUninstallString");
    ASSERT_EQ(quiet, L"\"" + folder + L"\\uninstall.exe\" /S");

    {
        // The installed program starts (a first start: it stores its reminder date).
        e2e::ProgramRun annuvia;
        ASSERT_TRUE(annuvia.Start(exe)) << Narrow(annuvia.Error());
        HWND main = e2e::WaitForTopWindow(e2e::kMainClass, e2e::kWindowTitle, annuvia.Pid());
        ASSERT_NE(main, nullptr) << "the installed program showed no main window";
        ASSERT_TRUE(e2e::WaitUntilIdle(main));
        EXPECT_TRUE(e2e::StoredReminder(L"annuvia").has_value());

        // While it runs, neither the installer nor the uninstaller touches anything.
        const Outcome reinstall = RunAndWait(L"\"" + setup + L"\" /S");
        ASSERT_TRUE(reinstall.finished) << reinstall.error;
        EXPECT_EQ(reinstall.exitCode, 2u) << "the installer went on while the program ran";
        const Outcome refused = RunAndWait(L"\"" + folder + L"\\uninstall.exe\" /S _?=" + folder);
        ASSERT_TRUE(refused.finished) << refused.error;
        EXPECT_EQ(refused.exitCode, 2u) << "the uninstaller went on while the program ran";
        EXPECT_TRUE(Exists(exe));
        EXPECT_TRUE(KeyExists(kUninstallKey));
        EXPECT_TRUE(KeyExists(kProgramSettings));
    }  // ends the program

    const Outcome uninstall = RunAndWait(*quiet);
    ASSERT_TRUE(uninstall.finished) << uninstall.error;
    EXPECT_EQ(uninstall.exitCode, 0u);
    EXPECT_FALSE(Exists(folder)) << Narrow(folder) << " is still there";
    EXPECT_FALSE(Exists(shortcut)) << "the shortcut is still there";
    EXPECT_FALSE(KeyExists(kUninstallKey)) << "the uninstall entry is still there";
    EXPECT_FALSE(KeyExists(kProgramSettings)) << "the program's settings are still there";
    EXPECT_EQ(RegString(kNeighbourSettings, L"Kept"), L"yes"s) << "another program's settings went too";
}

}  // namespace
