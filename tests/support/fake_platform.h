#pragma once
// A platform that records what the program asked of it and answers from
// scripted values: for fast tests of the portable core and in-process tests
// of the real windows. Portable: no <windows.h>.

#include <cstdio>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "core/platform/platform.h"

namespace annuvia::test {

struct RecordedMessage {
    WindowRef owner;
    std::wstring text;
    MsgButtons buttons;
    MsgIcon icon;
    std::wstring title;
};

class FakePlatform : public Platform {
public:
    CivilDate Today() const override { return today; }
    MsgAnswer ShowMessage(WindowRef owner, const std::wstring& text, MsgButtons buttons, MsgIcon icon,
                          const std::wstring& title) override {
        messages.push_back({owner, text, buttons, icon, title});
        if (onMessage) onMessage();
        if (answers.empty()) return buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::OK;
        const MsgAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void ClearClipboard(WindowRef) override { ++clipboardClears; }
    void OpenPage(const std::wstring& address) override { pages.push_back(address); }
    void EndProcess(unsigned exitCode) override { ends.push_back(exitCode); }

    std::wstring AppName() override { return appName; }
    std::wstring GetSetting(const std::wstring& app, const std::wstring& section,
                            const std::wstring& key) override {
        const auto it = settings.find({app, section, key});
        return it == settings.end() ? std::wstring() : it->second;
    }
    void SaveSetting(const std::wstring& app, const std::wstring& section, const std::wstring& key,
                     const std::wstring& value) override {
        settings[{app, section, key}] = value;
        ++settingWrites;
    }

    // Dates as "M/D/YYYY", the short date format of a default Wine prefix.
    std::wstring ShortDateText(CivilDate date) override {
        return std::to_wstring(date.month) + L"/" + std::to_wstring(date.day) + L"/" + std::to_wstring(date.year);
    }
    std::optional<CivilDate> DateFromText(const std::wstring& text) override {
        int month = 0, day = 0, year = 0;
        wchar_t rest = 0;
        if (std::swscanf(text.c_str(), L"%d/%d/%d%lc", &month, &day, &year, &rest) != 3) return std::nullopt;
        if (month < 1 || month > 12 || day < 1 || day > 31 || year < 100 || year > 9999) return std::nullopt;
        return CivilDate{year, month, day};
    }

    // A single-byte code page whose codes are the first 256 characters.
    int AnsiCodeOf(wchar_t c) override { return static_cast<unsigned>(c) < 256 ? static_cast<int>(c) : '?'; }
    std::optional<wchar_t> CharOfAnsiCode(int code) override {
        if (code < 0 || code > 255) return std::nullopt;
        return static_cast<wchar_t>(code);
    }

    void SeedRandomFromTimer() override { ++seeds; }
    // Scripted values in order; 0.99 (no banner change) once they run out.
    float NextRandom() override {
        if (randoms.empty()) return 0.99f;
        const float r = randoms.front();
        randoms.pop_front();
        return r;
    }
    bool AnotherInstanceRunning() override {
        ++instanceChecks;
        return anotherInstance;
    }
    bool HighContrast() override { return highContrast; }

    CivilDate today{2026, 12, 8};
    std::vector<RecordedMessage> messages;
    std::deque<MsgAnswer> answers;  // given out in order; OK (or No) when empty
    std::function<void()> onMessage;  // runs while the "box" is up
    int clipboardClears = 0;
    std::vector<std::wstring> pages;
    std::vector<unsigned> ends;
    std::wstring appName = L"annuvia";
    std::map<std::tuple<std::wstring, std::wstring, std::wstring>, std::wstring> settings;
    int settingWrites = 0;
    std::deque<float> randoms;
    int seeds = 0;
    bool anotherInstance = false;
    int instanceChecks = 0;
    bool highContrast = false;
};

}  // namespace annuvia::test
