// Opening the guide: the built-in archive written to its temporary file (the
// help window's part before the browser takes over), and packing an archive
// of the guide's size (the resources program's part).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "storage/file_io.h"
#include "help/help_archive.h"
#include "help/help_file.h"

namespace {

void BM_WriteHelpFile(benchmark::State& state) {
    const std::string archive = dlt::readFile(DLT_HELP_ARCHIVE, 64u << 20).bytes;
    const std::filesystem::path folder = std::filesystem::temp_directory_path();
    for (auto _ : state) {
        const std::filesystem::path file = dlt::help::writeHelpFile(folder, archive);
        benchmark::DoNotOptimize(file);
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(archive.size()));
}

void BM_PackArchive(benchmark::State& state) {
    // A page of 75 KB of UTF-8 HTML and thirty pictures of 50 KB.
    std::string page;
    while (page.size() < 75'000)
        page += "<p class=MsoNormal><span "
                "lang=ZH-CN>单击“推荐号码”按钮，结果一行一行地填进表格。</span></p>\n";
    std::vector<dlt::help::ArchivePicture> pictures;
    for (int i = 0; i < 30; ++i) {
        std::string bytes(50'000, '\0');
        for (std::size_t b = 0; b < bytes.size(); ++b)
            bytes[b] = char((b * 131 + std::size_t(i)) & 0xFF);
        pictures.push_back(
            {"http://host/help/guide.files/image" + std::to_string(i) + ".png", bytes});
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(
            dlt::help::packArchive("http://host/help/guide.htm", page, pictures));
}

} // namespace

BENCHMARK(BM_WriteHelpFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PackArchive)->Unit(benchmark::kMillisecond);
