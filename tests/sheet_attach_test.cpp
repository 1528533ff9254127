// Loading the extension: it joins only a block that an agent created, and
// only a library path that ends inside its field. A program of its own: the
// extension keeps the library loaded, and the library its view of the block,
// for as long as a process lives.
#include <gtest/gtest.h>

#include <cstring>

#include "processes.h"
#include "share_block.h"
#include "sheet_paths.h"
#include "test_env.h"

CHILD_ROLE(load_sheet_without_block)
{
    if (ShareBlockExists()) return 10;
    if (LoadLibraryA(SheetDllPath().c_str())) return 1;
    return ShareBlockExists() ? 2 : 0;
}

CHILD_ROLE(load_sheet_with_unterminated_path)
{
    ShareBlock block(LinkDllPath());
    if (!block.ok()) return 10;
    std::memset(block.data->libraryPath, 'x', sizeof(block.data->libraryPath));
    return LoadLibraryA(SheetDllPath().c_str()) ? 1 : 0;
}

CHILD_ROLE(load_sheet_after_agent)
{
    // The agent has gone; another process still holds the block.
    ShareBlock block(LinkDllPath());
    if (!block.ok()) return 10;
    block.data->statusEnabled = 0;
    return LoadLibraryA(SheetDllPath().c_str()) ? 0 : 1;
}

TEST(SheetAttach, LoadsOnlyOnABlockWithAFittingPath)
{
    EXPECT_EQ(RunChild("load_sheet_without_block"), 0) << "1: loaded; 2: left a mapping behind; 10: a block was there";
    EXPECT_EQ(RunChild("load_sheet_with_unterminated_path"), 0) << "loaded from a path without its end";
    EXPECT_EQ(RunChild("load_sheet_after_agent"), 0);
}
