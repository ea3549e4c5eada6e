#pragma once
// The sensor tables and the colour file installed beside the program, as
// file name + exact file contents.

#include <string>
#include <vector>

namespace tamble::tables {

struct ShippedFile {
    std::string name;     // e.g. "A.Rvt", "k.mvt", "default.gcf"
    std::string contents; // lines ended by CR LF
};

// Every file the program ships in its data folder that this tool writes.
// Deterministic: the same bytes on every run.
std::vector<ShippedFile> BuildShippedFiles();

// Writes the factory setup "default.set" into `folder` (with a fixed pre-set
// start date, so every run writes the same bytes). Returns whether it was written.
bool WriteDefaultSetup(const std::string& folder);

} // namespace tamble::tables
