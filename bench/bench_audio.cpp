// libs: audio
// Benchmarks of the folder tools: the audio archive builder packing a generated tree of 10,000
// small clips (100 folders of 100 clips of 2 to 10 KiB) into an archive and its index, and the
// concatenating converter over 1,000 UTF-8 texts of 10 KB (10 folders of 100). Rates are in bytes
// per second of files read; both are disk-bound (one read and one or two writes per file).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "audio/archive.h"
#include "audio/audio_state.h"
#include "foldertools/text_tools.h"
#include "bench/bench_random.h"

namespace {

class ClipTree {
public:
    ClipTree() {
        root_ = std::filesystem::temp_directory_path() / ("jux_bench_audio_" + std::to_string(::getpid()));
        std::filesystem::remove_all(root_);
        std::uint64_t s = 12345;
        std::string bytes;
        for (int folder = 0; folder < 100; ++folder) {
            const auto dir = root_ / "clips" / ("f" + std::to_string(folder));
            std::filesystem::create_directories(dir);
            for (int clip = 0; clip < 100; ++clip) {
                s = s * 6364136223846793005ull + 1442695040888963407ull;
                bytes.assign(2048 + static_cast<std::size_t>((s >> 33) % 8192), static_cast<char>(s >> 40));
                std::ofstream(dir / ("word" + std::to_string(folder * 100 + clip) + ".ogg"), std::ios::binary)
                    .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
                total_ += bytes.size();
            }
        }
    }
    ~ClipTree() {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    const std::filesystem::path& root() const { return root_; }
    std::uint64_t total() const { return total_; }

private:
    std::filesystem::path root_;
    std::uint64_t total_ = 0;
};

void BM_PackTenThousandClips(benchmark::State& state) {
    static ClipTree tree;
    const auto index = tree.root() / "index.txt";
    const auto archive = tree.root() / "archive";
    for (auto _ : state) {
        reset_walk_counters();
        gl_fl_stat = std::fopen(index.c_str(), "wb");
        gl_fl_concatenated = std::fopen(archive.c_str(), "wb");
        dir_to_list_audio(tree.root() / "clips");
        std::fclose(gl_fl_stat);
        std::fclose(gl_fl_concatenated);
        gl_fl_stat = gl_fl_concatenated = nullptr;
        if (sz_global != tree.total()) state.SkipWithError("the archive lost bytes");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * tree.total()));
    state.counters["clips"] = static_cast<double>(fl_ct_global_nonzero);
}
BENCHMARK(BM_PackTenThousandClips)->Unit(benchmark::kMillisecond);

// 1,000 Bulgarian UTF-8 texts of 10 KB, converted into flat copies and the two concatenations.
void BM_ConvertThousandTexts(benchmark::State& state) {
    const auto root = std::filesystem::temp_directory_path() / ("jux_bench_convert_" + std::to_string(::getpid()));
    std::filesystem::remove_all(root);
    static constexpr const char* kWords[] = {"и", "на", "дума", "текст", "около", "България", "превод", "word"};
    Lcg rnd{7};
    std::uint64_t total = 0;
    for (int folder = 0; folder < 10; ++folder) {
        const auto dir = root / "texts" / ("f" + std::to_string(folder));
        std::filesystem::create_directories(dir);
        for (int file = 0; file < 100; ++file) {
            std::string text = "а е о и\r\n";
            while (text.size() < 10'000) text += std::string(kWords[rnd() % 8]) + (rnd() % 12 ? " " : ".\r\n");
            std::ofstream(dir / ("t" + std::to_string(file) + ".txt"), std::ios::binary)
                .write(text.data(), static_cast<std::streamsize>(text.size()));
            total += text.size();
        }
    }
    gl_dir_res = root / "texts_res";
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove_all(gl_dir_res);
        std::filesystem::create_directories(gl_dir_res);
        state.ResumeTiming();
        reset_walk_counters();
        gl_fl_stat = std::fopen((root / "report.txt").c_str(), "wb");
        gl_fl_concatenated = std::fopen((root / "utf8.txt").c_str(), "wb");
        gl_fl_concatenated_ansi = std::fopen((root / "ansi.txt").c_str(), "wb");
        dir_to_list(root / "texts");
        for (FILE* f : {gl_fl_stat, gl_fl_concatenated, gl_fl_concatenated_ansi}) std::fclose(f);
        gl_fl_stat = gl_fl_concatenated = gl_fl_concatenated_ansi = nullptr;
        if (gl_file_index != 1001) state.SkipWithError("not every text was converted");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * total));
    std::filesystem::remove_all(root);
}
BENCHMARK(BM_ConvertThousandTexts)->Unit(benchmark::kMillisecond);

}  // namespace
