// The built modules as files, in both builds: machine, system version, exports,
// imports, the version resource, and the agent's own resources.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "agent_process.h"
#include "pe_image.h"
#include "test_env.h"

typedef std::vector<std::pair<uint32_t, std::string>> Exports;

struct ModuleCase {
    const char *name;
    std::string (*path)();
    uint16_t machine;
    DWORD fileType;
    Exports exports;
};

static const Exports kLinkExports = {
    {1, "UpdateButtonStatus"}, {2, "EnableDisableStatus"}, {3, "InitButton"},       {4, "InstallHooks"},
    {5, "RemoveHooks"},        {6, "GetMouseInfo"},        {7, "RemoveDrvRegistry"},
};

static const ModuleCase kModules[] = {
    {"ptrlink_x86_64", LinkDllPath, IMAGE_FILE_MACHINE_AMD64, VFT_DLL, kLinkExports},
    {"ptrlink_i686", LinkDll32Path, IMAGE_FILE_MACHINE_I386, VFT_DLL, kLinkExports},
    {"ptragent_x86_64", AgentExePath, IMAGE_FILE_MACHINE_AMD64, VFT_APP, {}},
    {"ptragent_i686", AgentExe32Path, IMAGE_FILE_MACHINE_I386, VFT_APP, {}},
};

class ModuleImage : public testing::TestWithParam<ModuleCase> {
protected:
    void SetUp() override
    {
        path = GetParam().path();
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
            GTEST_SKIP() << path << " is not built (build the win32 preset)";
    }
    std::string path;
};

TEST_P(ModuleImage, ExportsPlainNamesAtTheirOrdinals)
{
    PeImage image = ReadPeImage(path);
    ASSERT_TRUE(image.ok);
    EXPECT_EQ(image.machine, GetParam().machine);
    Exports got;
    for (const PeExport &e : image.exports) got.push_back({e.ordinal, e.name});
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, GetParam().exports);
}

TEST_P(ModuleImage, LoadsOnWindows95)
{
    PeImage image = ReadPeImage(path);
    ASSERT_TRUE(image.ok);
    EXPECT_EQ(image.subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
    if (GetParam().machine == IMAGE_FILE_MACHINE_I386) {
        // Windows 95 refuses images that ask for a later system.
        EXPECT_EQ(image.subsystemMajor, 4);
        EXPECT_EQ(image.subsystemMinor, 0);
    }
}

TEST_P(ModuleImage, ImportsOnlySystemLibraries)
{
    PeImage image = ReadPeImage(path);
    ASSERT_TRUE(image.ok);
    for (std::string dll : image.importedDlls) {
        std::transform(dll.begin(), dll.end(), dll.begin(), [](unsigned char c) { return std::tolower(c); });
        EXPECT_TRUE(dll == "kernel32.dll" || dll == "user32.dll" || dll == "advapi32.dll") << dll;
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

TEST_P(ModuleImage, CarriesTheVersionResource)
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
    EXPECT_EQ(fixed->dwFileType, GetParam().fileType);

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

INSTANTIATE_TEST_SUITE_P(Builds, ModuleImage, testing::ValuesIn(kModules),
                         [](const testing::TestParamInfo<ModuleCase> &info) { return std::string(info.param.name); });

// The agent's resources, read from the file of each build.
class AgentResources : public testing::TestWithParam<const char *> {
protected:
    void SetUp() override
    {
        std::string path = std::string(GetParam()) == "i686" ? AgentExe32Path() : AgentExePath();
        module = LoadLibraryExA(path.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
        if (!module && std::string(GetParam()) == "i686") GTEST_SKIP() << path << " is not built";
        ASSERT_NE(module, nullptr);
    }
    void TearDown() override
    {
        if (module) FreeLibrary(module);
    }
    const uint8_t *Resource(LPCSTR type, int id, DWORD *size)
    {
        HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
        if (!found) return nullptr;
        *size = SizeofResource(module, found);
        return static_cast<const uint8_t *>(LockResource(LoadResource(module, found)));
    }
    HMODULE module = nullptr;
};

static uint16_t Word(const uint8_t *&p)
{
    uint16_t v = uint16_t(p[0] | p[1] << 8);
    p += 2;
    return v;
}

static std::string Text(const uint8_t *&p)
{
    std::string text;
    for (uint16_t c; (c = Word(p)) != 0;) text += char(c);
    return text;
}

TEST_P(AgentResources, DialogTemplate101)
{
    DWORD size = 0;
    const uint8_t *p = Resource(MAKEINTRESOURCEA(5), 101, &size);
    ASSERT_NE(p, nullptr);
    DLGTEMPLATE header;
    std::memcpy(&header, p, sizeof(header));
    EXPECT_EQ(header.style, 0x800008C0u);
    EXPECT_EQ(header.dwExtendedStyle, 0u);
    EXPECT_EQ(header.cdit, 1);
    EXPECT_EQ(header.x, 0);
    EXPECT_EQ(header.y, 0);
    EXPECT_EQ(header.cx, 141);
    EXPECT_EQ(header.cy, 49);
    p += 18;
    EXPECT_EQ(Word(p), 0) << "no menu";
    EXPECT_EQ(Text(p), "myMouseDialog");
    EXPECT_EQ(Text(p), "") << "empty caption";
    EXPECT_EQ(Word(p), 8) << "point size";
    EXPECT_EQ(Text(p), "MS Sans Serif");
    p = reinterpret_cast<const uint8_t *>((reinterpret_cast<uintptr_t>(p) + 3) & ~uintptr_t(3));
    DLGITEMTEMPLATE item;
    std::memcpy(&item, p, sizeof(item));
    EXPECT_EQ(item.style, 0x50020001u);
    EXPECT_EQ(item.x, 7);
    EXPECT_EQ(item.y, 21);
    EXPECT_EQ(item.cx, 127);
    EXPECT_EQ(item.cy, 11);
    EXPECT_EQ(item.id, 0xFFFF);
    p += 18;
    EXPECT_EQ(Word(p), 0xFFFF);
    EXPECT_EQ(Word(p), 0x0082) << "a static control";
    EXPECT_EQ(Text(p), "Pointerhub OK!");
}

TEST_P(AgentResources, IconGroupsOfOneSixteenColourImage)
{
    const struct {
        int id, size;
    } groups[] = {{102, 32}, {103, 16}};
    for (const auto &g : groups) {
        SCOPED_TRACE(g.id);
        DWORD size = 0;
        const uint8_t *p = Resource(MAKEINTRESOURCEA(14), g.id, &size);
        ASSERT_NE(p, nullptr);
        ASSERT_EQ(size, 6u + 14u);
        EXPECT_EQ(p[4] | p[5] << 8, 1) << "one image";
        EXPECT_EQ(p[6], g.size);
        EXPECT_EQ(p[7], g.size);
        EXPECT_EQ(p[8], 16) << "colours";
        EXPECT_EQ(p[12] | p[13] << 8, 4) << "bits per pixel";
        int image = p[18] | p[19] << 8;
        DWORD imageSize = 0;
        const uint8_t *bits = Resource(MAKEINTRESOURCEA(3), image, &imageSize);
        ASSERT_NE(bits, nullptr);
        BITMAPINFOHEADER info;
        std::memcpy(&info, bits, sizeof(info));
        EXPECT_EQ(info.biWidth, g.size);
        EXPECT_EQ(info.biHeight, 2 * g.size);
        EXPECT_EQ(info.biBitCount, 4);
        // A picture, not a blank square: several colours are used.
        const uint8_t *pixels = bits + info.biSize + 16 * 4;
        std::vector<int> used(16);
        for (int i = 0; i < g.size * g.size / 2; ++i) used[pixels[i] >> 4] = used[pixels[i] & 15] = 1;
        EXPECT_GE(std::count(used.begin(), used.end(), 1), 4);
    }
}

INSTANTIATE_TEST_SUITE_P(Builds, AgentResources, testing::Values("x86_64", "i686"));
