// libs: audio
// Benchmark of the audio archive builder: packing a generated tree of 10,000 small clips (100
// folders of 100 clips of 2 to 10 KiB) into an archive and its index. The rate is reported in
// bytes per second of clips packed; the work is disk-bound (one read and one write per clip).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "audio/archive.h"
#include "audio/audio_state.h"

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

}  // namespace
