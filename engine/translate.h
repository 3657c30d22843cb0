#pragma once

#include <string_view>

namespace morvantel {

// The Kethric word for an English word, the English word for a Kethric word,
// or "Unknown Word". Matching is exact, code unit by code unit. The result
// views constant data and is never empty.
std::u16string_view TranslateWord(std::u16string_view text) noexcept;

} // namespace morvantel
