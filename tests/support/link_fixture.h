// A block as the agent creates it, this build's ptrlink loaded on it in the
// test's own process, and the driver's record cleared.
#ifndef LINK_FIXTURE_H
#define LINK_FIXTURE_H

#include <gtest/gtest.h>

#include "driver_probe.h"
#include "ptrlink_exports.h"
#include "share_block.h"
#include "test_env.h"

class LinkFixture : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(block.ok());
        link = LoadLibraryA(LinkDllPath().c_str());
        ASSERT_NE(link, nullptr) << "error " << GetLastError();
        ASSERT_TRUE(ResetDriver());
    }
    void TearDown() override
    {
        ResetDriver();
        if (link) FreeLibrary(link);
    }
    template <typename Proc> Proc Bind(const char *name)
    {
        Proc proc = BindProc<Proc>(link, name);
        EXPECT_NE(proc, nullptr) << name;
        return proc;
    }
    TavrenRecord Record()
    {
        TavrenRecord record = {};
        EXPECT_TRUE(ReadDriver(&record));
        return record;
    }

    ShareBlock block{LinkDllPath()};
    HMODULE link = nullptr;
};

#endif
