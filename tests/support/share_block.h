// The shared block as the agent creates it, held by a test: the mapping is
// created, the whole block mapped, zeroed, libraryPath written and
// statusEnabled set to 1.
#ifndef SHARE_BLOCK_H
#define SHARE_BLOCK_H

#include <windows.h>

#include <string>

#include "ptrlink.h"

struct ShareBlock {
    explicit ShareBlock(const std::string &libraryPath);
    ~ShareBlock();
    ShareBlock(const ShareBlock &) = delete;
    ShareBlock &operator=(const ShareBlock &) = delete;

    bool ok() const { return data != nullptr; }
    const uint8_t *bytes() const { return reinterpret_cast<const uint8_t *>(data); }

    HANDLE mapping = nullptr;
    MouseShareData *data = nullptr;
};

// A view of a block that another process created, as a control panel holds it.
struct BlockView {
    BlockView();
    ~BlockView();
    BlockView(const BlockView &) = delete;
    BlockView &operator=(const BlockView &) = delete;
    bool ok() const { return data != nullptr; }
    const uint8_t *bytes() const { return reinterpret_cast<const uint8_t *>(data); }
    HANDLE mapping = nullptr;
    MouseShareData *data = nullptr;
};

// Whether a mapping of the block's name exists anywhere in the session.
bool ShareBlockExists();

// Number of distinct mapped views in this process.
int CountMappedViews();

#endif
