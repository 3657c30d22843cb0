#include "engine/translate.h"

#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

namespace {

void Translate(benchmark::State& state, std::u16string_view text)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(morvantel::TranslateWord(text));
}

const std::u16string OneMiB(512 * 1024, u'a');

} // namespace

BENCHMARK_CAPTURE(Translate, first_row_hit, u"above");
BENCHMARK_CAPTURE(Translate, last_row_hit, u"alkieel");
BENCHMARK_CAPTURE(Translate, miss, u"dragons");
BENCHMARK_CAPTURE(Translate, one_mib_input, OneMiB);

BENCHMARK_MAIN();
