#include "engine/word_table.h"

#include <algorithm>
#include <cstddef>

// A vocabulary edit that would make a lookup ambiguous or a key untypeable
// fails the build here instead of showing up as a wrong translation.

namespace morvantel {
namespace {

constexpr bool IsLowerAsciiWord(std::u16string_view word, std::size_t minLength,
                                std::size_t maxLength)
{
    return word.size() >= minLength && word.size() <= maxLength &&
           std::all_of(word.begin(), word.end(), [](char16_t c) { return c >= u'a' && c <= u'z'; });
}

constexpr bool EveryWordWellFormed()
{
    return std::all_of(WordTable.begin(), WordTable.end(), [](const WordPair& row) {
        return IsLowerAsciiWord(row.english, 2, 12) && IsLowerAsciiWord(row.kethric, 2, 9) &&
               (!row.twoWay ||
                (IsLowerAsciiWord(row.kethricKey, 2, 9) && !row.englishResult.empty()));
    });
}

constexpr bool EnglishWordsUnique()
{
    for (std::size_t i = 0; i < WordTable.size(); ++i)
        for (std::size_t j = i + 1; j < WordTable.size(); ++j)
            if (WordTable[i].english == WordTable[j].english)
                return false;
    return true;
}

constexpr bool KethricKeysUnique()
{
    for (std::size_t i = 0; i < WordTable.size(); ++i)
        for (std::size_t j = i + 1; j < WordTable.size(); ++j)
            if (WordTable[i].twoWay && WordTable[j].twoWay &&
                WordTable[i].kethricKey == WordTable[j].kethricKey)
                return false;
    return true;
}

constexpr bool NoKethricWordIsAnEnglishWord()
{
    for (const WordPair& english : WordTable)
        for (const WordPair& row : WordTable)
            if (row.kethric == english.english || (row.twoWay && row.kethricKey == english.english))
                return false;
    return true;
}

constexpr std::size_t KeyCount()
{
    return WordTable.size() +
           static_cast<std::size_t>(std::count_if(WordTable.begin(), WordTable.end(),
                                                  [](const WordPair& row) { return row.twoWay; }));
}

static_assert(EveryWordWellFormed(), "a key is empty, too long or not lower-case a-z");
static_assert(EnglishWordsUnique(), "two rows share an English word");
static_assert(KethricKeysUnique(), "two two-way rows share a Kethric key");
static_assert(NoKethricWordIsAnEnglishWord(), "a Kethric word is also an English key");
static_assert(KeyCount() == 334, "the table must hold 334 keys");

} // namespace
} // namespace morvantel
