// Attachment of a process to the block and the driver: the library loads only
// where both exist, leaves nothing behind where it does not, and keeps its
// device handle for the life of the process.
#include <gtest/gtest.h>

#include "driver_probe.h"
#include "processes.h"
#include "ptrlink_exports.h"
#include "share_block.h"
#include "test_env.h"

// Loads the library with no block of this process's own and reports how it went.
CHILD_ROLE(load_in_own_block)
{
    ShareBlock block(LinkDllPath());
    if (!block.ok()) return 10;
    int views = CountMappedViews();
    HMODULE link = LoadLibraryA(LinkDllPath().c_str());
    if (link) return 1;
    if (CountMappedViews() != views) return 2;
    return argument == "expect-failure" ? 0 : 3;
}

// Loads and unloads the library, then waits until the parent has looked.
CHILD_ROLE(load_unload_and_wait)
{
    HMODULE link = LoadLibraryA(LinkDllPath().c_str());
    if (!link) return 1;
    FreeLibrary(link);
    if (GetModuleHandleA("ptrlink.dll")) return 2;
    RaiseSignal(argument + ".ready");
    return WaitSignal(argument + ".finish") ? 0 : 3;
}

// Clears statusEnabled through its own copy of the library.
CHILD_ROLE(switch_status_off)
{
    HMODULE link = LoadLibraryA(LinkDllPath().c_str());
    if (!link) return 1;
    auto enable = BindProc<EnableDisableStatusProc>(link, "EnableDisableStatus");
    return enable && enable(0) ? 0 : 2;
}

TEST(LinkAttach, WithoutBlockLoadFailsAndLeavesNoMapping)
{
    ASSERT_FALSE(ShareBlockExists()) << "a block from elsewhere is still alive";
    ASSERT_EQ(GetModuleHandleA("ptrlink.dll"), nullptr);
    int views = CountMappedViews();
    SetLastError(0xdeadbeef);
    EXPECT_EQ(LoadLibraryA(LinkDllPath().c_str()), nullptr);
    EXPECT_FALSE(ShareBlockExists());
    EXPECT_EQ(CountMappedViews(), views);
}

TEST(LinkAttach, WithoutDriverLoadFailsAndUnmapsTheBlock)
{
    ASSERT_TRUE(StopDriverService());
    int result = RunChild("load_in_own_block", "expect-failure");
    ASSERT_TRUE(StartDriverService());
    EXPECT_EQ(result, 0) << "1: loaded; 2: a view stayed mapped";
    EXPECT_EQ(RunChild("load_in_own_block", "expect-success"), 1) << "the driver is back";
}

TEST(LinkAttach, DeviceHandleStaysOpenUntilTheProcessEnds)
{
    ShareBlock block(LinkDllPath());
    ASSERT_TRUE(block.ok());
    ASSERT_TRUE(ResetDriver());
    HANDLE ready = CreateSignal("handle.ready"), finish = CreateSignal("handle.finish");
    ChildProcess child;
    ASSERT_TRUE(StartChild(&child, "load_unload_and_wait", "handle"));
    ASSERT_EQ(WaitForSingleObject(ready, 30000), WAIT_OBJECT_0) << "child exit code " << child.wait(0);

    TavrenRecord record;
    ASSERT_TRUE(ReadDriver(&record));
    const TavrenOpener *opener = FindOpener(record, child.id);
    ASSERT_NE(opener, nullptr);
    EXPECT_EQ(opener->creates, 1u);
    EXPECT_EQ(opener->cleanups, 0u) << "the library closed its device handle at unload";
    EXPECT_EQ(opener->closes, 0u);

    SetEvent(finish);
    EXPECT_EQ(child.wait(), 0);
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(ReadDriver(&record));
        opener = FindOpener(record, child.id);
        if (opener && opener->closes) break;
        Sleep(50);
    }
    ASSERT_NE(opener, nullptr);
    EXPECT_EQ(opener->closes, 1u) << "the handle went with the process";
    CloseHandle(ready);
    CloseHandle(finish);
}

TEST(LinkAttach, TwoAttachedProcessesSeeEachOthersWrites)
{
    ShareBlock block(LinkDllPath());
    ASSERT_TRUE(block.ok());
    HMODULE link = LoadLibraryA(LinkDllPath().c_str());
    ASSERT_NE(link, nullptr);
    ASSERT_TRUE(ResetDriver());

    block.data->middleAction = ACTION_F1_HELP;
    block.data->sensitivity = 130;
    EXPECT_EQ(RunChild("switch_status_off"), 0);

    TavrenRecord record;
    ASSERT_TRUE(ReadDriver(&record));
    ASSERT_EQ(record.statusCount, 1u);
    EXPECT_EQ(record.status[0], ACTION_F1_HELP) << "the child's library saw this process's write";
    EXPECT_EQ(record.status[5], 130);
    EXPECT_EQ(block.data->statusEnabled, 0) << "this process saw the child's write";
    FreeLibrary(link);
}
