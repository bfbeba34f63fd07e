#include "platform/Collation.h"

#include "platform/CaseFolding.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <iterator>

namespace
{

// Letters of the Latin blocks grouped with the base letters they sort beside. A run covers
// the code points first .. last; `base` is what they count as when case and accents are
// not looked at.
struct CBaseLetterRun
{
    char32_t first;
    char32_t last;
    const char* base;
};

constexpr CBaseLetterRun baseLetterRuns[] = {
    // Latin-1 letters, capital and small.
    {0x00C0, 0x00C5, "a"},
    {0x00C6, 0x00C6, "ae"},
    {0x00C7, 0x00C7, "c"},
    {0x00C8, 0x00CB, "e"},
    {0x00CC, 0x00CF, "i"},
    {0x00D0, 0x00D0, "d"},
    {0x00D1, 0x00D1, "n"},
    {0x00D2, 0x00D6, "o"},
    {0x00D8, 0x00D8, "o"},
    {0x00D9, 0x00DC, "u"},
    {0x00DD, 0x00DD, "y"},
    {0x00DE, 0x00DE, "th"},
    {0x00DF, 0x00DF, "ss"},
    {0x00E0, 0x00E5, "a"},
    {0x00E6, 0x00E6, "ae"},
    {0x00E7, 0x00E7, "c"},
    {0x00E8, 0x00EB, "e"},
    {0x00EC, 0x00EF, "i"},
    {0x00F0, 0x00F0, "d"},
    {0x00F1, 0x00F1, "n"},
    {0x00F2, 0x00F6, "o"},
    {0x00F8, 0x00F8, "o"},
    {0x00F9, 0x00FC, "u"},
    {0x00FD, 0x00FD, "y"},
    {0x00FE, 0x00FE, "th"},
    {0x00FF, 0x00FF, "y"},
    // Latin Extended-A.
    {0x0100, 0x0105, "a"},
    {0x0106, 0x010D, "c"},
    {0x010E, 0x0111, "d"},
    {0x0112, 0x011B, "e"},
    {0x011C, 0x0123, "g"},
    {0x0124, 0x0127, "h"},
    {0x0128, 0x0131, "i"},
    {0x0132, 0x0133, "ij"},
    {0x0134, 0x0135, "j"},
    {0x0136, 0x0138, "k"},
    {0x0139, 0x0142, "l"},
    {0x0143, 0x014B, "n"},
    {0x014C, 0x0151, "o"},
    {0x0152, 0x0153, "oe"},
    {0x0154, 0x0159, "r"},
    {0x015A, 0x0161, "s"},
    {0x0162, 0x0167, "t"},
    {0x0168, 0x0173, "u"},
    {0x0174, 0x0175, "w"},
    {0x0176, 0x0178, "y"},
    {0x0179, 0x017E, "z"},
    {0x017F, 0x017F, "s"},
    // The letters of Latin Extended-B that Romanian and pinyin use.
    {0x01CD, 0x01CE, "a"},
    {0x01CF, 0x01D0, "i"},
    {0x01D1, 0x01D2, "o"},
    {0x01D3, 0x01DC, "u"},
    {0x0218, 0x0219, "s"},
    {0x021A, 0x021B, "t"},
    // Capital and small ligatures that have no run of their own above.
    {0x1E9E, 0x1E9E, "ss"},
    {0xFB00, 0xFB00, "ff"},
    {0xFB01, 0xFB01, "fi"},
    {0xFB02, 0xFB02, "fl"},
};

// The search below needs the runs in rising order, none overlapping another.
constexpr bool RunsRiseApart()
{
    for (std::size_t i = 0; i < std::size(baseLetterRuns); ++i)
    {
        if (baseLetterRuns[i].first > baseLetterRuns[i].last)
            return false;
        if (i > 0 && baseLetterRuns[i - 1].last >= baseLetterRuns[i].first)
            return false;
    }
    return true;
}
static_assert(RunsRiseApart());

const char* FindBaseLetters(char32_t codePoint)
{
    if (codePoint < 0x00C0)
        return nullptr;
    const auto run = std::upper_bound(
        std::begin(baseLetterRuns), std::end(baseLetterRuns), codePoint,
        [](char32_t value, const CBaseLetterRun& candidate) { return value < candidate.first; });
    if (run == std::begin(baseLetterRuns))
        return nullptr;
    const CBaseLetterRun& found = *(run - 1);
    return codePoint <= found.last ? found.base : nullptr;
}

bool IsCombiningMark(char32_t codePoint)
{
    return codePoint >= 0x0300 && codePoint <= 0x036F;
}

// Between texts that are alike without regard to case and accents: the plain letter
// before the accented one, then capitals before small letters (byte order), so that
// no two different texts count as equal.
bool TieBreakBefore(std::string_view left, std::string_view right)
{
    std::string_view restLeft = left;
    std::string_view restRight = right;
    while (!restLeft.empty() && !restRight.empty())
    {
        const char32_t a = ToSmallLetter(TakeCharacter(restLeft));
        const char32_t b = ToSmallLetter(TakeCharacter(restRight));
        if (a != b)
            return a < b;
    }
    if (restLeft.empty() != restRight.empty())
        return restLeft.empty();
    return left < right;
}

} // namespace

Text MakeCollationKey(std::string_view text)
{
    Text key;
    key.reserve(text.size());
    while (!text.empty())
    {
        const char32_t c = TakeCharacter(text);
        if (IsCombiningMark(c))
            continue;
        if (const char* base = FindBaseLetters(c))
            key += base;
        else
            AppendUtf8(key, ToSmallLetter(c));
    }
    return key;
}

bool KeyedCollatesBefore(const Text& leftKey, std::string_view left, const Text& rightKey,
                         std::string_view right)
{
    if (leftKey != rightKey)
        return leftKey < rightKey;
    return TieBreakBefore(left, right);
}

bool CollatesBefore(std::string_view left, std::string_view right)
{
    return KeyedCollatesBefore(MakeCollationKey(left), left, MakeCollationKey(right), right);
}
