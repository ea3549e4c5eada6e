// tamble-tables: writes the sensor tables, the factory colour file and the
// factory setup file that are installed beside the program.
//
//   tamble-tables [FOLDER]     (default: data)

#include "shipped_tables.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>

int main(int argc, char** argv)
{
    const std::filesystem::path folder = argc > 1 ? argv[1] : "data";
    try {
        std::filesystem::create_directories(folder);
        for (const auto& file : tamble::tables::BuildShippedFiles()) {
            const std::filesystem::path path = folder / file.name;
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out.write(file.contents.data(), static_cast<std::streamsize>(file.contents.size()));
            out.close();
            if (!out) {
                std::fprintf(stderr, "tamble-tables: cannot write %s\n", path.string().c_str());
                return 1;
            }
            std::printf("%s\n", path.string().c_str());
        }
        const std::filesystem::path setup = folder / "default.set";
        if (!tamble::tables::WriteDefaultSetup(folder.string())) {
            std::fprintf(stderr, "tamble-tables: cannot write %s\n", setup.string().c_str());
            return 1;
        }
        std::printf("%s\n", setup.string().c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tamble-tables: %s\n", e.what());
        return 1;
    }
    return 0;
}
