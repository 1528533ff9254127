#include "share_block.h"

#include <cstring>
#include <set>

ShareBlock::ShareBlock(const std::string &libraryPath)
{
    mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0, PTR_SHARE_SIZE, PTR_SHARE_NAME);
    if (!mapping) return;
    data = static_cast<MouseShareData *>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
    if (!data) return;
    std::memset(data, 0, PTR_SHARE_SIZE);
    std::strncpy(data->libraryPath, libraryPath.c_str(), sizeof(data->libraryPath) - 1);
    data->statusEnabled = 1;
}

ShareBlock::~ShareBlock()
{
    if (data) UnmapViewOfFile(data);
    if (mapping) CloseHandle(mapping);
}

BlockView::BlockView()
{
    mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, PTR_SHARE_NAME);
    if (mapping) data = static_cast<MouseShareData *>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
}

BlockView::~BlockView()
{
    if (data) UnmapViewOfFile(data);
    if (mapping) CloseHandle(mapping);
}

bool ShareBlockExists()
{
    HANDLE h = OpenFileMappingA(FILE_MAP_READ, FALSE, PTR_SHARE_NAME);
    if (!h) return false;
    CloseHandle(h);
    return true;
}

int CountMappedViews()
{
    std::set<void *> bases;
    MEMORY_BASIC_INFORMATION info;
    for (char *p = nullptr; VirtualQuery(p, &info, sizeof(info)) == sizeof(info);
         p = static_cast<char *>(info.BaseAddress) + info.RegionSize) {
        if (info.State == MEM_COMMIT && info.Type == MEM_MAPPED) bases.insert(info.AllocationBase);
        if (static_cast<char *>(info.BaseAddress) + info.RegionSize < p) break;
    }
    return static_cast<int>(bases.size());
}
