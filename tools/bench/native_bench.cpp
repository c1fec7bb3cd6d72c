// Native benchmarks of the platform-free part: loading the full catalogue,
// building the keys of the list's four orders, and decoding animations.
#include "anim/flc_reader.h"
#include "anim/flc_sources.h"
#include "catalogue/profile_reader.h"
#include "catalogue/store.h"
#include "res/resource.h"
#include "tools/bench/full_catalogue.h"
#include "view/list_order.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace {

const char* const kUnknownAuthor = "Unbekannt";

// The catalogue's values held in memory, read as the profile reader gives them.
class MemorySource final : public CatalogueSource {
public:
    explicit MemorySource(const ProfileReader& reader)
    {
        const int keys[][2] = {{IDS_AUTHORS, IDS_AUTHOR_KEY}, {IDS_KEYWORDS, IDS_KEYWORD_KEY},
                               {IDS_ANIMATIONS, IDS_ANIMATION_KEY}};
        for (const auto& key : keys) {
            ProfileCatalogueSource source(reader);
            char value[kProfileValueSize];
            for (int number = 1; source.Read(key[0], key[1], number, value) != 0; ++number)
                values_[std::make_tuple(key[0], key[1], number)] = value;
        }
    }

    int Read(int sectionId, int keyId, int number, char (&value)[kProfileValueSize]) override
    {
        auto found = values_.find(std::make_tuple(sectionId, keyId, number));
        if (found == values_.end()) {
            value[0] = '\0';
            return 0;
        }
        std::memcpy(value, found->second.c_str(), found->second.size() + 1);
        return static_cast<int>(found->second.size());
    }

private:
    std::map<std::tuple<int, int, int>, std::string> values_;
};

const std::string& FullText()
{
    static const std::string text = bench::FullCatalogueText();
    return text;
}

// The loader alone: entries parsed into the tables from values in memory.
void LoadFromMemory(benchmark::State& state)
{
    ProfileReader reader;
    reader.Parse(FullText().data(), FullText().size());
    MemorySource source(reader);
    for (auto _ : state) {
        int loaded = LoadCatalogueFrom(source, kUnknownAuthor);
        benchmark::DoNotOptimize(loaded);
    }
    if (AnimationCount != 200 || AuthorCount != 50 || KeywordCount != 50)
        state.SkipWithError("the catalogue is not full");
}
BENCHMARK(LoadFromMemory);

// The whole native path: the file's bytes parsed, then loaded.
void LoadFromFileText(benchmark::State& state)
{
    for (auto _ : state) {
        ProfileReader reader;
        reader.Parse(FullText().data(), FullText().size());
        ProfileCatalogueSource source(reader);
        int loaded = LoadCatalogueFrom(source, kUnknownAuthor);
        benchmark::DoNotOptimize(loaded);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * FullText().size()));
}
BENCHMARK(LoadFromFileText);

// The key texts of all 200 rows in one order (0 title, 1 author, 2 file, 3 date).
void RowKeys(benchmark::State& state)
{
    ProfileReader reader;
    reader.Parse(FullText().data(), FullText().size());
    ProfileCatalogueSource source(reader);
    LoadCatalogueFrom(source, kUnknownAuthor);
    const auto order = static_cast<std::int32_t>(state.range(0));
    for (auto _ : state) {
        for (int i = 0; i < AnimationCount; ++i) {
            char dateKey[kDateKeySize];
            const char* key = RowKeyText(AnimationTable[i], order, dateKey);
            benchmark::DoNotOptimize(key);
            benchmark::ClobberMemory();
        }
    }
    state.SetItemsProcessed(state.iterations() * AnimationCount);
}
BENCHMARK(RowKeys)->DenseRange(kSortByTitle, kSortByDate)->ArgName("order");

// Every frame of an animation held in memory, again and again, as the
// preview loops it: frames per second are the items per second.
void DecodeAnimation(benchmark::State& state, const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    FlcMemorySource source(file.data(), file.size());
    FlcReader reader;
    if (reader.Open(source) != FlcStatus::Frame) {
        state.SkipWithError("not a readable animation");
        return;
    }
    std::int64_t frames = 0;
    for (auto _ : state) {
        reader.Rewind();
        while (reader.NextFrame() == FlcStatus::Frame) {
            benchmark::DoNotOptimize(reader.Indices());
            ++frames;
        }
    }
    state.SetItemsProcessed(frames);
}

// The files come from make bench (tools/bench/run.sh), through the environment.
const bool kDecodeRegistered = [] {
    for (const char* kind : {"FLC", "FLI"}) {
        std::string variable = std::string("KORVAL_BENCH_") + kind;
        if (const char* path = std::getenv(variable.c_str()))
            benchmark::RegisterBenchmark((std::string("Decode") + kind).c_str(), DecodeAnimation, std::string(path));
    }
    return true;
}();

} // namespace

BENCHMARK_MAIN();
