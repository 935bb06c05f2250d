#include "core/numerology/numerology.h"

#include <limits>
#include <stdexcept>

namespace annuvia {

namespace {

// Sums stay tiny (never above 36 for real input), but the arithmetic is 16-bit
// and checked, so a runaway input fails loudly instead of wrapping.
std::int16_t CheckedAdd(std::int16_t a, std::int16_t b) {
    const int sum = int{a} + int{b};
    if (sum > std::numeric_limits<std::int16_t>::max() ||
        sum < std::numeric_limits<std::int16_t>::min()) {
        throw std::overflow_error("personal year arithmetic overflow");
    }
    return static_cast<std::int16_t>(sum);
}

std::int16_t DigitValue(wchar_t c) {
    return (c >= L'0' && c <= L'9') ? static_cast<std::int16_t>(c - L'0') : std::int16_t{0};
}

std::int16_t SumOfDigits(const std::wstring& text) {
    std::int16_t total = 0;
    for (wchar_t c : text) total = CheckedAdd(total, DigitValue(c));
    return total;
}

std::wstring DecimalText(std::int16_t value) {
    return std::to_wstring(value < 0 ? -int{value} : int{value});
}

const wchar_t* const kReadings[9] = {
    L"It's a perfect time to start any new venture. Listen to your heart and fulfill it.   Follow "
    L"your dreams and start implementing. It is not a time to wait around as you could miss out on "
    L"what this year has to offer. You really are setting the pace for the next nine years. Hard "
    L"work is the key to making this year successful.",
    L"Your patience will be tested. Time delay will take place to put everything into motion. "
    L"Having a second look at your relationships and friendships is important. Progress will come "
    L"on a step-by-step basis. What ever you have started last year, will further develop this "
    L"year. This is the developing your work. You may have a lot of energy.",
    L"You will get recognition and rewards this year. High time to start social work and you may "
    L"find yourself busy. You will win hearts and minds of people around you. Work on your "
    L"passion. Creativity can be unleashed.  Your enthusiasm will be infectious and your social "
    L"life may be hectic.",
    L"Focus on your dreams and developments. It's important how you organize your life this year. "
    L"You may feel a little restricted in some ways but keep in mind the reward ahead from your "
    L"efforts. This is your foundation year so lay down a firm platform, so that you can reap the "
    L"results next year.",
    L"Your previous year's hard work will be paid. You will notice developments and progress of "
    L"your any pending tasks. Some opportunities may come your way to advance in various "
    L"directions. Flexibility, and some risks can come across you. But rewards are what the year "
    L"wishes to bring.",
    L"Relationships with family, friends, and co-workers play a key role this year. Love "
    L"interests are also highlighted. The newfound passion brings out your creativity. There is "
    L"also a focus on self-love, connection, and nurturing.",
    L"This is a year of introspection and reflection. You may want to ask yourself some important "
    L"questions like what the purpose of your life is and what you want your life to be like. It "
    L"is a time for seeking a deeper understanding into your inner nature. Solitude is often "
    L"needed in order to quite your mind and get in touch with what really matters to you. Have "
    L"patience as you go along with your search for destiny.",
    L"Focus on those tasks, which you are mostly, associated with. After the introspection done in "
    L"the previous year, concentrate now on the nuances of the outer world and explore what you "
    L"have been working toward during the last seven years. Some issues, career, and worldly "
    L"accomplishments come to the forefront. Patience is required to organize everything and a "
    L"step-by-step progress phase will happen.",
    L"Anticipation of future possibilities vanishes from you. Experience has taught you some "
    L"lessons. It is a time for completing many areas of experience so that you can move freely "
    L"into the next cycle ahead without carrying forward outgrown or unneeded baggage. "
    L"Gratefulness and compassion are especially important at this time.",
};

constexpr wchar_t kParagraphEnd[] = L"\r\n\r\n";

}  // namespace

const wchar_t kResultHeader[] = L"Your Personal Year Number is: ";
const wchar_t kGeneralText[] =
    L"This number describes the pattern of the particular year. Each year you work through one "
    L"of the nine Personal Years that define your experiences in life. It is concurrent with the "
    L"calendar year.";

std::int16_t FoldOnce(std::int16_t value) {
    const std::wstring text = DecimalText(value);
    if (text.size() < 2) return value;
    return CheckedAdd(DigitValue(text.front()), DigitValue(text.back()));
}

std::int16_t ReduceNumber(const std::wstring& digits) {
    return FoldOnce(FoldOnce(SumOfDigits(digits)));
}

std::int16_t MonthValue(const std::wstring& monthName) {
    for (std::size_t i = 0; i < kMonthNames.size(); ++i) {
        if (monthName == kMonthNames[i]) return FoldOnce(static_cast<std::int16_t>(i + 1));
    }
    return 0;
}

PersonalYear CalcPersonalYear(const std::wstring& dayText, const std::wstring& monthName,
                              const Clock& clock) {
    const std::int16_t day = FoldOnce(SumOfDigits(dayText));
    const std::int16_t dayAndMonth = FoldOnce(CheckedAdd(day, MonthValue(monthName)));
    const std::int16_t year = ReduceNumber(std::to_wstring(clock.Today().year));
    return ReduceNumber(DecimalText(CheckedAdd(dayAndMonth, year)));
}

const std::wstring& GetYearReading(PersonalYear number) {
    static const std::array<std::wstring, 9> readings = [] {
        std::array<std::wstring, 9> texts;
        for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = kReadings[i];
        return texts;
    }();
    if (number < 1 || number > 9) throw std::out_of_range("personal year outside 1 to 9");
    return readings[static_cast<std::size_t>(number - 1)];
}

std::array<std::wstring, 4> ResultBlocks(PersonalYear number) {
    return {
        kResultHeader + DecimalText(number) + kParagraphEnd,
        kGeneralText + std::wstring(kParagraphEnd),
        GetYearReading(number) + kParagraphEnd,
        kParagraphEnd,
    };
}

std::wstring ResultText(PersonalYear number) {
    std::wstring text;
    for (const std::wstring& block : ResultBlocks(number)) text += block;
    return text;
}

}  // namespace annuvia
