// The real program against a damaged settings store and a crowd of copies of
// itself: it starts as always, says nothing about the store, and one copy
// stays.

#include <windows.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "e2e/driver.h"

namespace e2e {
namespace {

constexpr wchar_t kSettings[] = L"Software\\VB and VBA Program Settings\\annuvia\\Settings";
constexpr wchar_t kApp[] = L"Software\\VB and VBA Program Settings\\annuvia";

std::wstring ReminderKey() { return EncodeForSettings(L"Duration"); }

// Today in a date picture of the test's choosing, whatever the regional settings say.
std::wstring TodayAs(const wchar_t* picture) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    wchar_t text[64] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, 0, &now, picture, text, 64);
    return text;
}

bool SetRaw(DWORD type, const void* data, DWORD bytes) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettings, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const LONG status = RegSetValueExW(key, ReminderKey().c_str(), 0, type, static_cast<const BYTE*>(data), bytes);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

// The settings key with only the access an SDDL text grants; the owner keeps
// the right to change that, and so to undo it.
bool RestrictSettings(const wchar_t* sddl) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettings, 0, nullptr, 0, WRITE_DAC, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    PSECURITY_DESCRIPTOR sd = nullptr;
    bool ok = ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &sd, nullptr) &&
              RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd) == ERROR_SUCCESS;
    LocalFree(sd);
    RegCloseKey(key);
    return ok;
}

// The application's key a symbolic link to a key that does not exist: it can
// be neither opened nor created through. Volatile, so it cannot outlive Wine.
bool LinkAppKeyToNowhere() {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kApp, 0, nullptr, REG_OPTION_CREATE_LINK | REG_OPTION_VOLATILE,
                        KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    const std::wstring target = L"\\Registry\\User\\Annuvia-nowhere\\Settings";
    const LONG status = RegSetValueExW(key, L"SymbolicLinkValue", 0, REG_LINK,
                                       reinterpret_cast<const BYTE*>(target.data()),
                                       static_cast<DWORD>(target.size() * sizeof(wchar_t)));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

void RemoveAppKeyLink() {
    using NtDeleteKeyFn = LONG(WINAPI*)(HANDLE);
    const auto deleteKey = reinterpret_cast<NtDeleteKeyFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtDeleteKey")));
    HKEY link = nullptr;
    if (deleteKey && RegOpenKeyExW(HKEY_CURRENT_USER, kApp, REG_OPTION_OPEN_LINK, DELETE, &link) == ERROR_SUCCESS) {
        deleteKey(link);
        RegCloseKey(link);
    }
}

// Wine keeps the short date picture in HKCU\Control Panel\International,
// sShortDate; SetLocaleInfoW writes it there and into this process's cache.
std::optional<std::wstring> ShortDatePictureInRegistry() {
    wchar_t value[96] = {};
    DWORD bytes = sizeof value - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\International", L"sShortDate", RRF_RT_REG_SZ, nullptr, value,
                     &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(value);
}

class DamagedSettings : public testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override {
        Clean();
        SetStoredReminder(L"annuvia", ShortDateFromToday(0));  // later tests start without a box
    }
    // Every damage undone, and no settings at all.
    static void Clean() {
        RemoveAppKeyLink();
        RestrictSettings(L"D:(A;;KA;;;WD)");
        DeleteSettings(L"annuvia");
    }
    // Starts the program and expects its main window, idle, and nothing else of it.
    static void ExpectPlainStart() {
        ProgramRun program;
        ASSERT_TRUE(program.Start()) << Narrow(program.Error());
        HWND main = nullptr, box = nullptr;
        ASSERT_TRUE(WaitUntil([&] {
            box = FindMessageBox(program.Pid());
            main = FindTopWindow(kMainClass, kWindowTitle, program.Pid());
            return box || main;
        })) << "neither a window nor a box";
        if (box) FAIL() << "a box: " << Narrow(MessageBoxText(box));
        ASSERT_TRUE(WaitUntilIdle(main));
        EXPECT_EQ(VisibleWindowsOf(program.Pid()), std::vector<HWND>{main});
        EXPECT_TRUE(program.Running());
    }
};

TEST_F(DamagedSettings, TheProgramStartsPlainlyWhateverTheStoreHolds) {
    const std::wstring today = ShortDateFromToday(0);
    // A month old as text: shown, were it read as a date, it would bring up the reminder.
    const std::wstring old = EncodeForSettings(ShortDateFromToday(-30));
    const DWORD number = 20261208;
    struct Case {
        const char* what;
        std::function<bool()> arrange;
        std::optional<std::wstring> after;  // the reminder stored after the start; nothing: none readable
    };
    const Case cases[] = {
        {"a number", [&] { return SetRaw(REG_DWORD, &number, sizeof number); }, today},
        {"bytes", [&] { return SetRaw(REG_BINARY, old.c_str(), static_cast<DWORD>(old.size() * sizeof(wchar_t))); },
         today},
        {"a list of texts", [&] {
             const std::wstring list = old + L'\0' + old + L'\0';
             return SetRaw(REG_MULTI_SZ, list.c_str(), static_cast<DWORD>((list.size() + 1) * sizeof(wchar_t)));
         }, today},
        {"an empty text", [&] { return SetRaw(REG_SZ, L"", sizeof(wchar_t)); }, today},
        {"a key named like the value", [&] {
             HKEY key = nullptr;
             const bool made = RegCreateKeyExW(HKEY_CURRENT_USER, (std::wstring(kSettings) + L"\\" + ReminderKey()).c_str(),
                                               0, nullptr, 0, KEY_READ, nullptr, &key, nullptr) == ERROR_SUCCESS;
             if (made) RegCloseKey(key);
             return made;
         }, today},  // keys and values have names of their own
        {"a key nobody may open", [&] {
             return SetRaw(REG_SZ, old.c_str(), static_cast<DWORD>((old.size() + 1) * sizeof(wchar_t))) &&
                    RestrictSettings(L"D:(D;;KA;;;WD)");
         }, ShortDateFromToday(-30)},  // left as it was
        {"a key that may be read, not written", [&] { return RestrictSettings(L"D:(A;;KR;;;WD)"); }, std::nullopt},
        {"the application's key a link to nowhere", [&] { return LinkAppKeyToNowhere(); }, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Clean();
        ASSERT_TRUE(c.arrange()) << "could not damage the store";
        ASSERT_NO_FATAL_FAILURE(ExpectPlainStart());
        RemoveAppKeyLink();
        RestrictSettings(L"D:(A;;KA;;;WD)");
        EXPECT_EQ(Narrow(StoredReminder(L"annuvia").value_or(L"(none)")), Narrow(c.after.value_or(L"(none)")));
    }
}

TEST_F(DamagedSettings, ADateWrittenUnderAnotherShortDateFormatIsForgottenQuietly) {
    const std::optional<std::wstring> saved = ShortDatePictureInRegistry();
    wchar_t picture[96] = {};
    ASSERT_GT(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, picture, 96), 0);
    struct Restore {
        std::wstring picture;
        std::optional<std::wstring> saved;
        ~Restore() {
            SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, picture.c_str());
            if (!saved) RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\International", L"sShortDate");
        }
    } restore{picture, saved};

    // A first run under day.month.year stores today that way...
    ASSERT_TRUE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, L"dd.MM.yyyy"));
    ASSERT_NO_FATAL_FAILURE(ExpectPlainStart());
    ASSERT_EQ(Narrow(StoredReminder(L"annuvia").value_or(L"(none)")), Narrow(TodayAs(L"dd.MM.yyyy")));
    // ...which year-month-day cannot read: the next run starts as the first did.
    ASSERT_TRUE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, L"yyyy-MM-dd"));
    ASSERT_NO_FATAL_FAILURE(ExpectPlainStart());
    EXPECT_EQ(Narrow(StoredReminder(L"annuvia").value_or(L"(none)")), Narrow(TodayAs(L"yyyy-MM-dd")));
}

TEST(ManyCopies, TenStartedAtOnceLeaveOneMainWindowAndNineBoxes) {
    SetStoredReminder(L"annuvia", ShortDateFromToday(0));
    constexpr int kCopies = 10;
    std::vector<std::unique_ptr<ProgramRun>> copies;
    for (int i = 0; i < kCopies; ++i) {
        copies.push_back(std::make_unique<ProgramRun>());
        ASSERT_TRUE(copies.back()->Start()) << Narrow(copies.back()->Error());
    }
    // Each copy ends up with a main window or a box.
    std::vector<HWND> mains, boxes;
    const bool settled = WaitUntil([&] {
        mains.clear();
        boxes.clear();
        for (const auto& copy : copies) {
            if (HWND box = FindMessageBox(copy->Pid())) boxes.push_back(box);
            if (HWND main = FindTopWindow(kMainClass, kWindowTitle, copy->Pid())) mains.push_back(main);
        }
        return mains.size() + boxes.size() >= kCopies;
    }, 90000);
    ASSERT_TRUE(settled) << mains.size() << " main windows and " << boxes.size() << " boxes";
    ASSERT_EQ(mains.size(), 1u);
    ASSERT_EQ(boxes.size(), kCopies - 1u);
    for (HWND box : boxes) {
        EXPECT_EQ(Narrow(MessageBoxText(box)), "Application is already running");
        EXPECT_EQ(VisibleWindowsOf(ProcessOf(box)), std::vector<HWND>{box}) << "a refused copy showed more";
    }
    for (HWND box : boxes) ASSERT_TRUE(PressOk(box));
    ProgramRun* first = nullptr;
    for (const auto& copy : copies) {
        if (copy->Pid() == ProcessOf(mains[0])) {
            first = copy.get();
            continue;
        }
        ASSERT_TRUE(copy->WaitForExit(30000)) << Narrow(copy->Error());
        EXPECT_EQ(copy->ExitCode(), 0u);
    }
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(WaitUntilIdle(mains[0]));
    EXPECT_TRUE(first->Running());
    EXPECT_EQ(VisibleWindowsOf(first->Pid()), std::vector<HWND>{mains[0]});

    // The one left ends the ordinary way, through its exit screen.
    ASSERT_TRUE(PostMessageW(mains[0], WM_CLOSE, 0, 0));
    HWND screen = WaitForTopWindow(kExitClass, kWindowTitle, first->Pid());
    ASSERT_NE(screen, nullptr);
    ASSERT_TRUE(WaitUntilIdle(screen));
    ASSERT_TRUE(PostClick(FindControl(screen, ids::Exit::cmdClose)));
    ASSERT_TRUE(first->WaitForExit(10000)) << Narrow(first->Error());
    for (const auto& copy : copies) EXPECT_FALSE(copy->Running());
}

}  // namespace
}  // namespace e2e
