// Writes the made seeds of the data fuzz target into a directory: files the
// library reads well of each kind and format, and the damaged files of
// data_file_samples.h. The game's own small data files are seeds beside them.
// Built with the fuzz targets; run it after adding a sample, with
// tests/fuzz/corpus/data as its argument. The seeds are committed.
#include "../data_file_samples.h"

#include <cstdio>
#include <string>

using namespace samples;

namespace {

struct Seed {
    std::string name;
    Bytes bytes;
};

bool write_seed(const std::string &path, const Bytes &bytes) {
    FILE *file = std::fopen(path.c_str(), "wb");
    return file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() &&
           std::fclose(file) == 0;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIRECTORY\n", argv[0]);
        return 2;
    }
    std::vector<Seed> seeds = {
        {"picture-1-bit", bmp(33, 3, 1)},
        {"picture-4-bits", bmp(9, 3, 4)},
        {"picture-24-bits", bmp(5, 3, 24)},
        {"picture-32-bits", bmp(2, 2, 32)},
        {"picture-rle8", rle8(4, 2, {4, 9, 0, 0, 1, 1, 0, 3, 5, 6, 7, 0, 0, 1})},
        {"picture-rle4", rle4(6, 2, {6, 0x12, 0, 0, 0, 4, 0x12, 0x34, 0, 1})},
        {"sound-8-bit-stereo", wav(2, 8)},
        {"music-tune", tune()},
        {"patch-three-waves", patch(3, 16)},
    };
    for (const Damaged &d : damaged_files())
        seeds.push_back({d.name, d.bytes});
    for (const Seed &seed : seeds) {
        const std::string path = std::string(argv[1]) + "/" + seed.name;
        if (!write_seed(path, seed.bytes)) {
            std::fprintf(stderr, "can't write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
