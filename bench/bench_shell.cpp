// libs: shell
// Benchmarks of the shell's services: loading a generated list file of 1,000,000 CP1251 lines,
// cmp_g look-ups in the loaded list, and counting 10,000,000 tokens into the token index.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "bench_random.h"
#include "platform/text.h"
#include "shell/lists.h"
#include "shell/settings.h"
#include "shell/strings.h"
#include "shell/token_frequency_index.h"

namespace {

// A word of 3 to 12 letters, Cyrillic (code page 1251) or Latin, with a capital now and then.
std::string make_word(Lcg& rnd) {
    const int len = 3 + static_cast<int>(rnd() % 10);
    const bool cyr = rnd() % 2 == 0;
    std::string w;
    for (int i = 0; i < len; ++i)
        w += cyr ? static_cast<char>(0xE0 + rnd() % 32) : static_cast<char>('a' + rnd() % 26);
    if (rnd() % 5 == 0) w[0] = static_cast<char>(cp_toupper(static_cast<unsigned char>(w[0])));
    return w;
}

// The generated list: 1,000,000 lines "key rest" with CR LF ends, in random order.
struct ListFixture {
    std::filesystem::path dir;
    std::filesystem::path file;
    std::vector<std::string> keys;
    ListFixture() {
        dir = std::filesystem::temp_directory_path() / std::string("jux_bench_shell_").append(std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        file = dir / "list.txt";
        Lcg rnd{42};
        std::string text;
        text.reserve(40'000'000);
        keys.reserve(1'000'000);
        for (int i = 0; i < 1'000'000; ++i) {
            std::string key = make_word(rnd) + std::to_string(i);
            text += key;
            text += ' ';
            text += make_word(rnd);
            text += ' ';
            text += std::to_string(rnd() % 100000);
            text += "\r\n";
            keys.push_back(std::move(key));
        }
        std::ofstream(file, std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    ~ListFixture() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

ListFixture& list_fixture() {
    static ListFixture f;
    return f;
}

void BM_LoadList1M(benchmark::State& state) {
    auto& f = list_fixture();
    ListLoadOptions opts;
    opts.sort = static_cast<int>(state.range(0));
    for (auto _ : state) {
        std::vector<ListPair> pairs;
        auto text = load_pairs(f.file, opts, pairs);
        benchmark::DoNotOptimize(pairs.data());
        if (pairs.size() != 1'000'000) state.SkipWithError("not every line loaded");
    }
    state.SetItemsProcessed(state.iterations() * 1'000'000);
}
BENCHMARK(BM_LoadList1M)->Arg(0)->Arg(1)->ArgNames({"sorted"})->Unit(benchmark::kMillisecond);

void BM_LoadSortedList1M(benchmark::State& state) {
    // a file already in cmp_g order, as the dictionaries are shipped
    auto& f = list_fixture();
    static const std::filesystem::path sorted_file = [&] {
        std::vector<ListPair> pairs;
        auto text = load_pairs(f.file, {}, pairs);
        std::string out;
        for (const auto& p : pairs) {
            out += p.key;
            out += ' ';
            out += p.rest;
            out += "\r\n";
        }
        auto path = f.dir / "sorted.txt";
        std::ofstream(path, std::ios::binary).write(out.data(), static_cast<std::streamsize>(out.size()));
        return path;
    }();
    for (auto _ : state) {
        std::vector<ListPair> pairs;
        auto text = load_pairs(sorted_file, {}, pairs);
        benchmark::DoNotOptimize(pairs.data());
    }
    state.SetItemsProcessed(state.iterations() * 1'000'000);
}
BENCHMARK(BM_LoadSortedList1M)->Unit(benchmark::kMillisecond);

void BM_CmpGLookups(benchmark::State& state) {
    auto& f = list_fixture();
    static std::vector<ListPair> pairs;
    static std::shared_ptr<ListText> text;
    if (!text) text = load_pairs(f.file, {}, pairs);
    Lcg rnd{7};
    std::vector<std::string> probes;
    for (int i = 0; i < 4096; ++i) {
        std::string k = f.keys[rnd() % f.keys.size()];
        if (i % 4 == 0) k += "x";  // a quarter are misses
        cp_strupr(k);              // found case-insensitively
        probes.push_back(std::move(k));
    }
    std::size_t i = 0, found = 0;
    for (auto _ : state) {
        found += find_pair(pairs, probes[i++ & 4095]) != nullptr;
    }
    benchmark::DoNotOptimize(found);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CmpGLookups);

void BM_CountTokens10M(benchmark::State& state) {
    reset_settings();
    Lcg rnd{99};
    std::vector<std::string> vocab;
    for (int i = 0; i < 200'000; ++i) vocab.push_back(make_word(rnd));
    std::vector<const std::string*> stream;
    stream.reserve(10'000'000);
    for (int i = 0; i < 10'000'000; ++i) {
        const std::uint32_t r = rnd() % 200'000;
        stream.push_back(&vocab[r * static_cast<std::uint64_t>(r) / 200'000]);  // skewed toward the front
    }
    for (auto _ : state) {
        ResetGmake();
        for (const std::string* t : stream) PutInG(*t);
        FinishGmakeCase();
        benchmark::DoNotOptimize(g_floor);
    }
    state.SetItemsProcessed(state.iterations() * 10'000'000);
}
BENCHMARK(BM_CountTokens10M)->Unit(benchmark::kMillisecond);

}  // namespace
