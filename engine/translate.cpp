#include "engine/translate.h"

#include "engine/word_table.h"

namespace morvantel {
namespace {

constexpr std::u16string_view UnknownWord = u"Unknown Word";

} // namespace

std::u16string_view TranslateWord(std::u16string_view text) noexcept
{
    // No key is longer than this, so a pasted page of text costs one comparison.
    if (text.size() > LongestKey)
        return UnknownWord;

    for (const WordPair& row : WordTable) {
        if (text == row.english)
            return row.kethric;
        if (row.twoWay && text == row.kethricKey)
            return row.englishResult;
    }
    return UnknownWord;
}

} // namespace morvantel
