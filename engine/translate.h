#pragma once

#include "engine/word_table.h"

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace morvantel {

// No key of the word table is longer than this, so no longer text has a
// translation.
inline constexpr std::size_t LongestKey = [] {
    std::size_t longest = 0;
    for (const WordPair& row : WordTable)
        longest = std::max({longest, row.english.size(), row.kethricKey.size()});
    return longest;
}();

// The Kethric word for an English word, the English word for a Kethric word,
// or "Unknown Word". Matching is exact, code unit by code unit. The result
// views constant data and is never empty.
std::u16string_view TranslateWord(std::u16string_view text) noexcept;

} // namespace morvantel
