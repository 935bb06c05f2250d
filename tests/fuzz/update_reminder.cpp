// Fuzzer 4, the update reminder on arbitrary stored text:
// CheckUpdateReminder runs twice, as at every launch, against the recording
// platform with an arbitrary stored value, an arbitrary today and arbitrary
// answers, and is compared with a reference of the reminder's rules:
//   decode the stored text; empty -> store today, ask nothing; not a date ->
//   the same (as modHelp.h documents it); within 14 days either way ->
//   nothing at all; 15 days or more either way -> one Yes/No box,
//   today stored whatever the answer, then the download page on Yes.
// Checked directly as well: at most one box in the two runs, the page only
// after a Yes, once, and after today was stored; after the first run the
// stored value decodes to today's date text unless the stored date was
// within 14 days (then it is unchanged).
//
// Input: byte 0 the kind of stored value (0 none, 1 raw text, 2 encoded text,
// 3 encoded date text some days from today); bytes 1-2 the year, 3 the month
// and 4 the day of today; byte 5 the answers (bit 0 the first box's, bit 1 a
// second's); then the text (kinds 1 and 2) or a signed 16-bit day offset (3).

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "support/fake_platform.h"
#include "core/web/modHelp.h"

namespace {

using annuvia::CivilDate;
using annuvia::MsgAnswer;
using annuvia::fuzz::Show;

int CodeOf(wchar_t c) {
    const auto u = static_cast<std::uint32_t>(c);
    return u < 256 ? static_cast<int>(u) : '?';
}
std::wstring Shift(const std::wstring& text, int delta) {
    std::wstring out;
    for (const wchar_t c : text) {
        const int code = CodeOf(c) + delta;
        if (code >= 0 && code <= 255) out += static_cast<wchar_t>(code);
    }
    return out;
}
std::wstring Encode(const std::wstring& text) { return Shift(text, 85); }
std::wstring Decode(const std::wstring& text) { return Shift(text, -85); }

std::int64_t Days(CivilDate d) {
    using namespace std::chrono;
    const sys_days days{year{d.year} / month{static_cast<unsigned>(d.month)} /
                        day{static_cast<unsigned>(d.day)}};
    return days.time_since_epoch().count();
}
CivilDate FromDays(std::int64_t n) {
    using namespace std::chrono;
    const year_month_day ymd{sys_days{days{n}}};
    return {static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
            static_cast<int>(static_cast<unsigned>(ymd.day()))};
}

unsigned DaysInMonth(int y, int m) {
    using namespace std::chrono;
    return static_cast<unsigned>((year{y} / month{static_cast<unsigned>(m)} / last).day());
}

std::string ShowDate(CivilDate d) {
    return std::to_string(d.year) + "-" + std::to_string(d.month) + "-" + std::to_string(d.day);
}

// A platform that also notes what was stored when a box came up and when a
// page was opened.
class WatchingPlatform : public annuvia::test::FakePlatform {
public:
    void OpenPage(const std::wstring& address) override {
        FakePlatform::OpenPage(address);
        storedAtPage.push_back(Stored());
        writesAtPage.push_back(settingWrites);
    }
    std::wstring Stored() const {
        const auto it = settings.find({appName, L"Settings", Encode(L"Duration")});
        return it == settings.end() ? std::wstring() : it->second;
    }
    std::vector<std::wstring> storedAtPage;
    std::vector<int> writesAtPage;
};

enum class Step { StoreToday, Nothing, Ask };

Step Expect(WatchingPlatform& platform, const std::wstring& stored, CivilDate today) {
    const std::wstring decoded = Decode(stored);
    if (decoded.empty()) return Step::StoreToday;
    // The platform's own text-to-date conversion decides what reads as a date.
    const std::optional<CivilDate> date = platform.DateFromText(decoded);
    if (!date) return Step::StoreToday;
    const std::int64_t d = Days(today) - Days(*date);
    return (d >= -14 && d <= 14) ? Step::Nothing : Step::Ask;
}

const wchar_t kQuestion[] =
    L"There maybe an update to this software available\rDo you want to check for an update?";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    annuvia::fuzz::ByteReader reader(data, size);
    const int kind = reader.Byte() % 4;
    CivilDate today;
    today.year = 1 + static_cast<int>(reader.Bits(2) % 9999);
    today.month = 1 + reader.Byte() % 12;
    today.day = 1 + static_cast<int>(reader.Byte() % DaysInMonth(today.year, today.month));
    const std::uint8_t answers = reader.Byte();

    WatchingPlatform platform;
    platform.today = today;
    platform.answers = {(answers & 1) ? MsgAnswer::Yes : MsgAnswer::No,
                        (answers & 2) ? MsgAnswer::Yes : MsgAnswer::No};
    int writesAtBox = -1;
    platform.onMessage = [&] { writesAtBox = platform.settingWrites; };

    std::wstring stored;
    if (kind == 1) stored = reader.WideText();
    if (kind == 2) stored = Encode(reader.WideText());
    if (kind == 3) {
        const auto offset = static_cast<std::int16_t>(reader.Bits(2));
        stored = Encode(platform.ShortDateText(FromDays(Days(today) + offset)));
    }
    const auto key = std::make_tuple(platform.appName, std::wstring(L"Settings"), Encode(L"Duration"));
    if (kind != 0) platform.settings[key] = stored;

    const std::wstring todayText = platform.ShortDateText(today);
    const auto what = [&] {
        return std::string("kind " + std::to_string(kind) + " stored " + Show(stored) + " today " +
                           ShowDate(today) + " answers " + std::to_string(answers & 3));
    };

    // First run, as the start-up sequence makes it.
    const Step first = Expect(platform, stored, today);
    annuvia::CheckUpdateReminder(platform);
    const std::wstring afterFirst = platform.Stored();
    const int writesFirst = platform.settingWrites;
    const bool yes = (answers & 1) != 0;
    switch (first) {
        case Step::Nothing:
            CHECK(platform.messages.empty(), what() + ": asked within 14 days");
            CHECK(writesFirst == 0 && afterFirst == stored, what() + ": changed a date within 14 days");
            break;
        case Step::StoreToday:
            CHECK(platform.messages.empty(), what() + ": asked with no date stored");
            CHECK(writesFirst == 1, what());
            break;
        case Step::Ask:
            CHECK(platform.messages.size() == 1, what() + ": no box 15 days or more away");
            CHECK(writesAtBox == 0, what() + ": stored before the answer");
            CHECK(writesFirst == 1, what());
            break;
    }
    if (first != Step::Nothing)
        CHECK(Decode(afterFirst) == todayText,
              what() + ": stored " + Show(afterFirst) + " reads " + Show(Decode(afterFirst)));
    CHECK(platform.pages.size() == (first == Step::Ask && yes ? 1u : 0u),
          what() + ": download page after the first run");

    // Second run, as the main window's loading makes it.
    const Step second = Expect(platform, afterFirst, today);
    annuvia::CheckUpdateReminder(platform);
    const std::wstring afterSecond = platform.Stored();
    if (today.year >= 100) {
        // Today's text reads back (the fake platform reads years 100 to 9999): nothing to do.
        CHECK(second == Step::Nothing, what());
    }
    if (second == Step::Nothing)
        CHECK(platform.settingWrites == writesFirst && afterSecond == afterFirst, what());
    if (second == Step::StoreToday)
        CHECK(platform.settingWrites == writesFirst + 1 && Decode(afterSecond) == todayText, what());

    // Across both runs.
    CHECK(platform.messages.size() <= 1, what() + ": " + std::to_string(platform.messages.size()) + " boxes");
    for (const annuvia::test::RecordedMessage& m : platform.messages) {
        CHECK(m.text == kQuestion && m.buttons == annuvia::MsgButtons::YesNo &&
                  m.icon == annuvia::MsgIcon::Information && m.owner == nullptr && m.title == L"Annuvia",
              what() + ": box " + Show(m.text));
    }
    const bool askedYes = platform.messages.size() == 1 && yes;
    CHECK(platform.pages.size() == (askedYes ? 1u : 0u),
          what() + ": " + std::to_string(platform.pages.size()) + " pages");
    if (!platform.pages.empty()) {
        CHECK(platform.pages[0] ==
                  std::wstring(annuvia::kGatewayBase) + L"/annuvia/ssd.php?page=download-web-page",
              what() + ": opened " + Show(platform.pages[0]));
        CHECK(platform.writesAtPage[0] == 1 && Decode(platform.storedAtPage[0]) == todayText,
              what() + ": page opened before today was stored");
    }
    // The reminder keeps its one value and nothing else.
    CHECK(platform.settings.size() <= 1, what());
    if (kind != 0 || platform.settingWrites > 0) CHECK(platform.settings.count(key) == 1, what());
    return 0;
}
