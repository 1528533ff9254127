// The shared block's layout as other processes see it: each field at its offset,
// in a block created the way the agent creates it.
#include <gtest/gtest.h>

#include <cstring>

#include "share_block.h"
#include "test_env.h"

TEST(BlockLayout, FreshBlockHoldsOnlyPathAndRunningFlag)
{
    ShareBlock block(LinkDllPath());
    ASSERT_TRUE(block.ok());
    const uint8_t *b = block.bytes();
    for (int i = 0; i < 21; ++i) EXPECT_EQ(b[i], i == 3 ? 1 : 0) << "byte " << i;
    EXPECT_STREQ(reinterpret_cast<const char *>(b + 21), LinkDllPath().c_str());
}

struct FieldCase {
    const char *name;
    size_t offset;
    size_t size;
    void (*write)(MouseShareData *, uint32_t);
};

static const FieldCase kFields[] = {
    {"middleAction", 0, 1, [](MouseShareData *d, uint32_t v) { d->middleAction = uint8_t(v); }},
    {"secondAction", 1, 1, [](MouseShareData *d, uint32_t v) { d->secondAction = uint8_t(v); }},
    {"swapButtons", 2, 1, [](MouseShareData *d, uint32_t v) { d->swapButtons = uint8_t(v); }},
    {"statusEnabled", 3, 1, [](MouseShareData *d, uint32_t v) { d->statusEnabled = uint8_t(v); }},
    {"acceleration", 4, 1, [](MouseShareData *d, uint32_t v) { d->acceleration = uint8_t(v); }},
    {"sensitivity", 5, 1, [](MouseShareData *d, uint32_t v) { d->sensitivity = uint8_t(v); }},
    {"threeButtonMode", 6, 1, [](MouseShareData *d, uint32_t v) { d->threeButtonMode = uint8_t(v); }},
    {"cursorCenterEnabled", 7, 1, [](MouseShareData *d, uint32_t v) { d->cursorCenterEnabled = uint8_t(v); }},
    {"doubleClickTime", 8, 4, [](MouseShareData *d, uint32_t v) { d->doubleClickTime = v; }},
    {"hookHandle", 16, 4, [](MouseShareData *d, uint32_t v) { d->hookHandle = v; }},
};

TEST(BlockLayout, EachFieldLandsAtItsOffsetLittleEndian)
{
    ShareBlock block(LinkDllPath());
    ASSERT_TRUE(block.ok());
    for (const FieldCase &field : kFields) {
        SCOPED_TRACE(field.name);
        uint8_t before[PTR_SHARE_SIZE];
        std::memcpy(before, block.bytes(), sizeof(before));
        field.write(block.data, 0xA1B2C3D4u);
        const uint8_t expected[4] = {0xD4, 0xC3, 0xB2, 0xA1};
        for (size_t i = 0; i < PTR_SHARE_SIZE; ++i) {
            bool inField = i >= field.offset && i < field.offset + field.size;
            EXPECT_EQ(block.bytes()[i], inField ? expected[i - field.offset] : before[i]) << "byte " << i;
        }
        field.write(block.data, 0);
    }
}

TEST(BlockLayout, PathOf262CharactersFillsTheLastByte)
{
    std::string path(262, 'p');
    ShareBlock block(path);
    ASSERT_TRUE(block.ok());
    EXPECT_EQ(block.bytes()[282], 'p');
    EXPECT_EQ(block.bytes()[283], 0);
    EXPECT_EQ(std::strlen(block.data->libraryPath), 262u);
}

TEST(BlockLayout, SecondViewSeesTheSameBytes)
{
    ShareBlock block(LinkDllPath());
    ASSERT_TRUE(block.ok());
    HANDLE other = OpenFileMappingA(FILE_MAP_WRITE, FALSE, PTR_SHARE_NAME);
    ASSERT_NE(other, nullptr);
    auto *view = static_cast<uint8_t *>(MapViewOfFile(other, FILE_MAP_WRITE, 0, 0, 0));
    ASSERT_NE(view, nullptr);
    MEMORY_BASIC_INFORMATION info;
    ASSERT_EQ(VirtualQuery(view, &info, sizeof(info)), sizeof(info));
    EXPECT_GE(info.RegionSize, PTR_SHARE_SIZE);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(view) % 4096, 0u) << "views start on a page boundary";
    view[283] = 0x5A;
    EXPECT_EQ(block.bytes()[283], 0x5A);
    UnmapViewOfFile(view);
    CloseHandle(other);
}
