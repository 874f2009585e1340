// Replays every file of the given folders (or the given files) through the fuzz target once,
// so that CI checks the kept corpus without libFuzzer. "--shard=K/N" first replays only every
// N-th input from the K-th, in name order, so that a large corpus runs as N tests side by side.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

void replayFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

} // namespace

int main(int argc, char** argv)
{
    int first = 1;
    unsigned shard = 1, shards = 1;
    if (argc > 1 && std::strncmp(argv[1], "--shard=", 8) == 0) {
        if (std::sscanf(argv[1] + 8, "%u/%u", &shard, &shards) != 2 || shards == 0 || shard == 0
            || shard > shards) {
            std::fprintf(stderr, "bad shard %s: expected --shard=K/N with 1 <= K <= N\n", argv[1] + 8);
            return 2;
        }
        first = 2;
    }
    std::vector<std::filesystem::path> inputs;
    for (int i = first; i < argc; ++i) {
        std::filesystem::path arg(argv[i]);
        if (std::filesystem::is_directory(arg)) {
            std::vector<std::filesystem::path> found;
            for (const auto& entry : std::filesystem::recursive_directory_iterator(arg))
                if (entry.is_regular_file())
                    found.push_back(entry.path());
            std::sort(found.begin(), found.end());
            inputs.insert(inputs.end(), found.begin(), found.end());
        } else if (std::filesystem::exists(arg)) {
            inputs.push_back(arg);
        }
    }
    int count = 0;
    for (size_t i = shard - 1; i < inputs.size(); i += shards) {
        replayFile(inputs[i]);
        ++count;
    }
    std::printf("replayed %d inputs\n", count);
    return 0;
}
