// Reads a built module's file as the loader would see it, for either
// architecture: machine, exports and imported DLLs.
#ifndef PE_IMAGE_H
#define PE_IMAGE_H

#include <cstdint>
#include <string>
#include <vector>

struct PeExport {
    uint32_t ordinal;
    std::string name;  // empty for an export by ordinal only
};

struct PeImage {
    bool ok = false;
    uint16_t machine = 0;
    bool pe32plus = false;
    uint16_t subsystem = 0;
    uint16_t subsystemMajor = 0, subsystemMinor = 0;
    std::vector<PeExport> exports;
    std::vector<std::string> importedDlls;
};

PeImage ReadPeImage(const std::string &path);

#endif
