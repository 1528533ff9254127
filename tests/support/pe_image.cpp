#include "pe_image.h"

#include <windows.h>

#include <cstring>
#include <fstream>
#include <iterator>

namespace {

struct Reader {
    std::vector<uint8_t> file;
    const IMAGE_SECTION_HEADER *sections = nullptr;
    unsigned sectionCount = 0;

    template <typename T> const T *at(size_t offset) const
    {
        return offset + sizeof(T) <= file.size() ? reinterpret_cast<const T *>(&file[offset]) : nullptr;
    }
    // File offset of a relative virtual address, or 0.
    size_t offsetOf(uint32_t rva) const
    {
        for (unsigned i = 0; i < sectionCount; ++i) {
            const IMAGE_SECTION_HEADER &s = sections[i];
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.SizeOfRawData)
                return rva - s.VirtualAddress + s.PointerToRawData;
        }
        return 0;
    }
    std::string textAt(uint32_t rva) const
    {
        size_t offset = offsetOf(rva);
        std::string text;
        while (offset && offset < file.size() && file[offset]) text += char(file[offset++]);
        return text;
    }
};

} // namespace

PeImage ReadPeImage(const std::string &path)
{
    PeImage image;
    Reader r;
    std::ifstream in(path, std::ios::binary);
    if (!in) return image;
    r.file.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());

    auto dos = r.at<IMAGE_DOS_HEADER>(0);
    if (!dos || dos->e_magic != IMAGE_DOS_SIGNATURE) return image;
    auto nt = r.at<IMAGE_NT_HEADERS32>(dos->e_lfanew);
    if (!nt || nt->Signature != IMAGE_NT_SIGNATURE) return image;
    image.machine = nt->FileHeader.Machine;
    image.pe32plus = nt->OptionalHeader.Magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC;

    IMAGE_DATA_DIRECTORY exportDir, importDir;
    if (image.pe32plus) {
        auto nt64 = r.at<IMAGE_NT_HEADERS64>(dos->e_lfanew);
        if (!nt64) return image;
        exportDir = nt64->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
        importDir = nt64->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        image.subsystem = nt64->OptionalHeader.Subsystem;
        image.subsystemMajor = nt64->OptionalHeader.MajorSubsystemVersion;
        image.subsystemMinor = nt64->OptionalHeader.MinorSubsystemVersion;
    } else {
        image.subsystem = nt->OptionalHeader.Subsystem;
        image.subsystemMajor = nt->OptionalHeader.MajorSubsystemVersion;
        image.subsystemMinor = nt->OptionalHeader.MinorSubsystemVersion;
        exportDir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
        importDir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    }
    size_t sectionOffset = dos->e_lfanew + offsetof(IMAGE_NT_HEADERS32, OptionalHeader) +
                           nt->FileHeader.SizeOfOptionalHeader;
    r.sectionCount = nt->FileHeader.NumberOfSections;
    if (sectionOffset + r.sectionCount * sizeof(IMAGE_SECTION_HEADER) > r.file.size()) return image;
    r.sections = reinterpret_cast<const IMAGE_SECTION_HEADER *>(&r.file[sectionOffset]);

    if (exportDir.VirtualAddress) {
        auto dir = r.at<IMAGE_EXPORT_DIRECTORY>(r.offsetOf(exportDir.VirtualAddress));
        if (!dir) return image;
        for (DWORD i = 0; i < dir->NumberOfFunctions; ++i) {
            auto address = r.at<DWORD>(r.offsetOf(dir->AddressOfFunctions) + 4 * i);
            if (!address || !*address) continue;
            PeExport e{dir->Base + i, ""};
            for (DWORD n = 0; n < dir->NumberOfNames; ++n) {
                auto index = r.at<WORD>(r.offsetOf(dir->AddressOfNameOrdinals) + 2 * n);
                auto name = r.at<DWORD>(r.offsetOf(dir->AddressOfNames) + 4 * n);
                if (index && name && *index == i) e.name = r.textAt(*name);
            }
            image.exports.push_back(e);
        }
    }
    if (importDir.VirtualAddress) {
        for (size_t offset = r.offsetOf(importDir.VirtualAddress);; offset += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
            auto descriptor = r.at<IMAGE_IMPORT_DESCRIPTOR>(offset);
            if (!descriptor || !descriptor->Name) break;
            image.importedDlls.push_back(r.textAt(descriptor->Name));
        }
    }
    image.ok = true;
    return image;
}
