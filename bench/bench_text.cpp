// libs: platform
// Speed of the text layer: case-insensitive comparison (the comparators of every sorted word
// list) and the code page conversions over a long text.
#include "platform/text.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

// Random mixed-case words of Cyrillic (А..я) and Latin letters, 3 to 12 bytes long.
std::vector<std::string> make_words(size_t n) {
  std::mt19937 rng(42);
  std::uniform_int_distribution<int> len(3, 12), pick(0, 9), cyr(0xC0, 0xFF), lat('a', 'z');
  std::vector<std::string> words(n);
  for (auto& w : words) {
    const int l = len(rng);
    for (int i = 0; i < l; ++i) w.push_back(static_cast<char>(pick(rng) < 8 ? cyr(rng) : lat(rng)));
  }
  return words;
}

void BM_SortWordsCaseInsensitive(benchmark::State& state) {
  const auto words = make_words(static_cast<size_t>(state.range(0)));
  for (auto _ : state) {
    auto copy = words;
    std::sort(copy.begin(), copy.end(), [](const std::string& a, const std::string& b) { return cp_strcasecmp(a, b) < 0; });
    benchmark::DoNotOptimize(copy.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SortWordsCaseInsensitive)->Arg(100000);

void BM_CompareEqualUnderFolding(benchmark::State& state) {
  const std::string a = utf8_to_cp1251("Съществителното ИМЕ е дума"), b = utf8_to_cp1251("СЪЩЕСТВИТЕЛНОТО име Е ДУМА");
  for (auto _ : state) benchmark::DoNotOptimize(cp_strcasecmp(a.c_str(), b.c_str()));
}
BENCHMARK(BM_CompareEqualUnderFolding);

std::string make_text(size_t bytes) {
  std::string s(bytes, ' ');
  for (size_t i = 0; i < bytes; ++i) s[i] = static_cast<char>(i % 11 == 0 ? ' ' : 0xC0 + (i * 13) % 64);
  return s;
}

void BM_Cp1251ToUtf16(benchmark::State& state) {
  const std::string text = make_text(10 << 20);
  for (auto _ : state) benchmark::DoNotOptimize(cp1251_to_utf16(text).data());
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_Cp1251ToUtf16)->Unit(benchmark::kMillisecond);

void BM_Utf16ToCp1251(benchmark::State& state) {
  const std::u16string text = cp1251_to_utf16(make_text(10 << 20));
  for (auto _ : state) benchmark::DoNotOptimize(utf16_to_cp1251(text, 6).data());
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_Utf16ToCp1251)->Unit(benchmark::kMillisecond);

void BM_Utf8ToCp1251(benchmark::State& state) {
  const std::string text = cp1251_to_utf8(make_text(10 << 20));
  for (auto _ : state) benchmark::DoNotOptimize(utf8_to_cp1251(text, 6).data());
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_Utf8ToCp1251)->Unit(benchmark::kMillisecond);

}  // namespace
