// The build's version reaches the program's resources: the version information
// that a file's properties show, and the manifest's identity. ui_tests carries
// the program's resource script, so its own file holds both.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/version.h"

namespace {

std::vector<BYTE> OwnVersionInformation() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    DWORD unused = 0;
    std::vector<BYTE> data(GetFileVersionInfoSizeW(path, &unused));
    if (!data.empty() && !GetFileVersionInfoW(path, 0, static_cast<DWORD>(data.size()), data.data())) data.clear();
    return data;
}

TEST(Version, VersionInformationIsTheBuildsVersion) {
    std::vector<BYTE> data = OwnVersionInformation();
    ASSERT_FALSE(data.empty());
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
    const DWORD high = MAKELONG(ANNUVIA_VERSION_MINOR, ANNUVIA_VERSION_MAJOR);
    const DWORD low = MAKELONG(ANNUVIA_VERSION_TWEAK, ANNUVIA_VERSION_PATCH);
    EXPECT_EQ(fixed->dwFileVersionMS, high);
    EXPECT_EQ(fixed->dwFileVersionLS, low);
    EXPECT_EQ(fixed->dwProductVersionMS, high);
    EXPECT_EQ(fixed->dwProductVersionLS, low);
    for (const wchar_t* key : {L"\\StringFileInfo\\040904b0\\FileVersion", L"\\StringFileInfo\\040904b0\\ProductVersion"}) {
        wchar_t* text = nullptr;
        ASSERT_TRUE(VerQueryValueW(data.data(), key, reinterpret_cast<void**>(&text), &size));
        EXPECT_EQ(std::wstring(text), L"" ANNUVIA_VERSION_TEXT);
    }
}

TEST(Version, ManifestIdentityIsTheBuildsVersion) {
    HRSRC found = FindResourceW(nullptr, CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST);
    ASSERT_NE(found, nullptr);
    const char* text = static_cast<const char*>(LockResource(LoadResource(nullptr, found)));
    const std::string manifest(text, SizeofResource(nullptr, found));
    const std::string identity = "name=\"Corvane.Annuvia\" version=\"" + std::to_string(ANNUVIA_VERSION_MAJOR) + "." +
                                 std::to_string(ANNUVIA_VERSION_MINOR) + "." + std::to_string(ANNUVIA_VERSION_PATCH) +
                                 "." + std::to_string(ANNUVIA_VERSION_TWEAK) + "\"";
    EXPECT_NE(manifest.find(identity), std::string::npos) << manifest.substr(0, 400);
}

}  // namespace
