// Writes a few small, valid channel files as seeds for the fuzzer.
#include <cstdio>
#include <string>

#include "support/database_builder.h"

using zoedit::testing::DatabaseShape;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const struct {
        const char* name;
        DatabaseShape shape;
    } seeds[] = {
        {"empty.bin", {.satellites = 0, .transponders = 0, .tv = 0, .radio = 0, .groups = {}}},
        {"small.bin", {}},
        {"no-satellites.bin",
         {.satellites = 0, .transponders = 2, .tv = 3, .radio = 1, .groups = {{1, 1}}}},
        {"groups.bin",
         {.satellites = 2,
          .transponders = 3,
          .tv = 6,
          .radio = 3,
          .groups = {{2, 0}, {0, 0}, {4, 3}, {1, 1}},
          .seed = 7}},
    };
    for (const auto& seed : seeds) {
        const auto bytes = zoedit::testing::fileBytesOf(zoedit::testing::buildDatabase(seed.shape));
        const std::string path = std::string(argv[1]) + "/" + seed.name;
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() ||
            std::fclose(f) != 0) {
            std::perror(path.c_str());
            return 1;
        }
    }
    return 0;
}
