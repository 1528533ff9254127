// The built modules as files, in both builds: export tables, imports and the
// version resource.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>

#include "pe_image.h"
#include "test_env.h"

struct BuildCase {
    const char *build;
    std::string (*path)();
    uint16_t machine;
};

static const BuildCase kBuilds[] = {
    {"x86_64", LinkDllPath, IMAGE_FILE_MACHINE_AMD64},
    {"i686", LinkDll32Path, IMAGE_FILE_MACHINE_I386},
};

class LinkImage : public testing::TestWithParam<BuildCase> {
protected:
    void SetUp() override
    {
        path = GetParam().path();
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
            GTEST_SKIP() << path << " is not built (build the win32 preset)";
    }
    std::string path;
};

TEST_P(LinkImage, ExportsPlainNamesAtTheirOrdinals)
{
    PeImage image = ReadPeImage(path);
    ASSERT_TRUE(image.ok);
    EXPECT_EQ(image.machine, GetParam().machine);
    std::vector<std::pair<uint32_t, std::string>> got;
    for (const PeExport &e : image.exports) got.push_back({e.ordinal, e.name});
    std::sort(got.begin(), got.end());
    const std::vector<std::pair<uint32_t, std::string>> expected = {
        {1, "UpdateButtonStatus"}, {2, "EnableDisableStatus"}, {3, "InitButton"}, {4, "InstallHooks"},
        {5, "RemoveHooks"},        {6, "GetMouseInfo"},        {7, "RemoveDrvRegistry"}};
    EXPECT_EQ(got, expected);
}

TEST_P(LinkImage, ImportsOnlySystemLibraries)
{
    PeImage image = ReadPeImage(path);
    ASSERT_TRUE(image.ok);
    for (std::string dll : image.importedDlls) {
        std::transform(dll.begin(), dll.end(), dll.begin(), [](unsigned char c) { return std::tolower(c); });
        EXPECT_TRUE(dll == "kernel32.dll" || dll == "user32.dll" || dll == "advapi32.dll" || dll == "msvcrt.dll")
            << dll;
    }
}

static std::string VersionString(const std::vector<char> &info, const char *name)
{
    char *value = nullptr;
    UINT length = 0;
    std::string query = std::string("\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueA(info.data(), query.c_str(), reinterpret_cast<void **>(&value), &length) || !value) return "";
    return value;
}

TEST_P(LinkImage, CarriesTheVersionResource)
{
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    ASSERT_GT(size, 0u) << "error " << GetLastError();
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, info.data()));

    VS_FIXEDFILEINFO *fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void **>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00020000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00020000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwFileType, DWORD(VFT_DLL));

    WORD *translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void **>(&translation),
                               &length));
    ASSERT_GE(length, 4u);
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 0x04B0);
    EXPECT_EQ(VersionString(info, "FileDescription"), "Pointerhub");
    EXPECT_EQ(VersionString(info, "FileVersion"), "2, 0, 0, 1");
    EXPECT_EQ(VersionString(info, "ProductVersion"), "2, 0, 0, 1");
}

INSTANTIATE_TEST_SUITE_P(Builds, LinkImage, testing::ValuesIn(kBuilds),
                         [](const testing::TestParamInfo<BuildCase> &info) { return std::string(info.param.build); });
