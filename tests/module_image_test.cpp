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

static std::string SheetDll() { return WinPath(PTR_TEST_SHEET_DLL); }
static std::string SheetDll32() { return WinPath(PTR_TEST_SHEET_DLL32); }
static const Exports kSheetExports = {{2, "DllCanUnloadNow"}, {3, "DllGetClassObject"}};

static const ModuleCase kModules[] = {
    {"ptrlink_x86_64", LinkDllPath, IMAGE_FILE_MACHINE_AMD64, VFT_DLL, kLinkExports},
    {"ptrlink_i686", LinkDll32Path, IMAGE_FILE_MACHINE_I386, VFT_DLL, kLinkExports},
    {"ptragent_x86_64", AgentExePath, IMAGE_FILE_MACHINE_AMD64, VFT_APP, {}},
    {"ptragent_i686", AgentExe32Path, IMAGE_FILE_MACHINE_I386, VFT_APP, {}},
    {"ptrsheet_x86_64", SheetDll, IMAGE_FILE_MACHINE_AMD64, VFT_DLL, kSheetExports},
    {"ptrsheet_i686", SheetDll32, IMAGE_FILE_MACHINE_I386, VFT_DLL, kSheetExports},
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

// No C or C++ runtime: the modules start at their own entry points.
TEST_P(ModuleImage, ImportsOnlySystemLibraries)
{
    PeImage image = ReadPeImage(path);
    ASSERT_TRUE(image.ok);
    const std::vector<std::string> system = {"kernel32.dll", "user32.dll", "advapi32.dll", "gdi32.dll",
                                             "comctl32.dll"};
    for (std::string dll : image.importedDlls) {
        std::transform(dll.begin(), dll.end(), dll.begin(), [](unsigned char c) { return std::tolower(c); });
        EXPECT_NE(std::find(system.begin(), system.end(), dll), system.end()) << dll;
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

// A name or an ordinal, as dialog templates keep them: ordinals as "#n".
static std::string NameOrOrdinal(const uint8_t *&p)
{
    if (p[0] == 0xFF && p[1] == 0xFF) {
        p += 2;
        return "#" + std::to_string(Word(p));
    }
    std::string text;
    for (uint16_t c; (c = Word(p)) != 0;) text += char(c);
    return text;
}

struct DialogItem {
    DWORD style;
    short x, y, cx, cy;
    int id;
    std::string className, text;
};

struct Dialog {
    DLGTEMPLATE header;
    std::string menu, className, title, font;
    int pointSize = 0;
    std::vector<DialogItem> items;
};

static const uint8_t *Align(const uint8_t *p, const uint8_t *base)
{
    return base + ((p - base + 3) & ~3);
}

static Dialog ParseDialog(const uint8_t *base)
{
    Dialog d;
    std::memcpy(&d.header, base, sizeof(d.header));
    const uint8_t *p = base + 18;
    d.menu = NameOrOrdinal(p);
    d.className = NameOrOrdinal(p);
    d.title = NameOrOrdinal(p);
    if (d.header.style & DS_SETFONT) {
        d.pointSize = Word(p);
        d.font = NameOrOrdinal(p);
    }
    for (int i = 0; i < d.header.cdit; ++i) {
        p = Align(p, base);
        DLGITEMTEMPLATE item;
        std::memcpy(&item, p, sizeof(item));
        p += 18;
        DialogItem e{item.style, item.x, item.y, item.cx, item.cy, short(item.id), "", ""};
        e.className = NameOrOrdinal(p);
        e.text = NameOrOrdinal(p);
        p += Word(p);  // creation data
        d.items.push_back(e);
    }
    return d;
}

TEST_P(AgentResources, DialogTemplate101)
{
    DWORD size = 0;
    const uint8_t *p = Resource(MAKEINTRESOURCEA(5), 101, &size);
    ASSERT_NE(p, nullptr);
    Dialog d = ParseDialog(p);
    EXPECT_EQ(d.header.style, 0x800008C0u);
    EXPECT_EQ(d.header.dwExtendedStyle, 0u);
    EXPECT_EQ(d.header.x, 0);
    EXPECT_EQ(d.header.y, 0);
    EXPECT_EQ(d.header.cx, 141);
    EXPECT_EQ(d.header.cy, 49);
    EXPECT_EQ(d.menu, "") << "no menu";
    EXPECT_EQ(d.className, "myMouseDialog");
    EXPECT_EQ(d.title, "") << "empty caption";
    EXPECT_EQ(d.pointSize, 8);
    EXPECT_EQ(d.font, "MS Sans Serif");
    ASSERT_EQ(d.items.size(), 1u);
    const DialogItem &item = d.items[0];
    EXPECT_EQ(item.style, 0x50020001u);
    EXPECT_EQ(item.x, 7);
    EXPECT_EQ(item.y, 21);
    EXPECT_EQ(item.cx, 127);
    EXPECT_EQ(item.cy, 11);
    EXPECT_EQ(item.id, -1);
    EXPECT_EQ(item.className, "#130") << "a static control";
    EXPECT_EQ(item.text, "Pointerhub OK!");
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

// The mouse page's template, control by control, in both builds.
class SheetTemplate : public testing::TestWithParam<const char *> {};

TEST_P(SheetTemplate, Template201)
{
    std::string path = std::string(GetParam()) == "i686" ? SheetDll32() : SheetDll();
    HMODULE module = LoadLibraryExA(path.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (!module && std::string(GetParam()) == "i686") GTEST_SKIP() << path << " is not built";
    ASSERT_NE(module, nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(201), MAKEINTRESOURCEA(5));
    ASSERT_NE(found, nullptr);
    Dialog d = ParseDialog(static_cast<const uint8_t *>(LockResource(LoadResource(module, found))));
    EXPECT_EQ(d.header.style, 0x80C001C0u);
    EXPECT_EQ(d.header.dwExtendedStyle, 0u);
    EXPECT_EQ(d.header.cx, 252);
    EXPECT_EQ(d.header.cy, 207);
    EXPECT_EQ(d.menu, "");
    EXPECT_EQ(d.className, "");
    EXPECT_EQ(d.title, "NELVO");
    EXPECT_EQ(d.pointSize, 8);
    EXPECT_EQ(d.font, "MS Sans Serif");

    // Class ordinals: #128 button, #129 edit, #130 static, #133 combo box.
    const DialogItem expected[] = {
        {0x50210003, 179, 16, 63, 60, 1022, "#133", ""},
        {0x50210003, 110, 16, 63, 60, 1000, "#133", ""},
        {0x5C210003, 41, 16, 63, 60, 1024, "#133", ""},
        {0x50010003, 11, 77, 77, 10, 1025, "#128", "Three Button Mode"},
        {0x50010003, 11, 91, 77, 10, 1026, "#128", "Left Hand User"},
        {0x50010003, 172, 127, 70, 10, 1027, "#128", "Where is Cursor ?"},
        {0x50020000, 184, 139, 63, 8, -1, "#130", "(Press \"F10\" Key)"},
        {0x50010000, 182, 170, 50, 14, 1028, "#128", "Help"},
        {0x50010001, 7, 123, 95, 13, 1029, "msctls_trackbar32", "Slider1"},
        {0x50010001, 7, 146, 95, 13, 1030, "msctls_trackbar32", "Slider1"},
        {0x50010001, 7, 169, 95, 13, 1031, "msctls_trackbar32", "Slider1"},
        {0x50020000, 11, 115, 48, 8, -1, "#130", "Sensivity"},
        {0x50020000, 11, 138, 78, 8, -1, "#130", "Double Click Speed"},
        {0x50020000, 11, 161, 63, 8, -1, "#130", "Acceleration"},
        {0x50020000, 103, 125, 18, 8, -1, "#130", "Fast"},
        {0x50020000, 103, 148, 18, 8, -1, "#130", "Fast"},
        {0x50020000, 103, 171, 19, 10, -1, "#130", "Fast"},
        {0x50020000, 110, 7, 59, 8, 1032, "#130", "Middle Button"},
        {0x50020000, 180, 7, 57, 8, 1033, "#130", "Right Button"},
        {0x58020000, 41, 7, 49, 8, 1034, "#130", "Left Button"},
        {0x5000000E, 16, 38, 32, 30, 112, "#130", "#102"},
        {0x5000000E, 93, 35, 117, 87, 111, "#130", "#103"},
        {0x58810880, 124, 138, 38, 31, 1035, "#129", ""},
        {0x50020000, 126, 127, 35, 8, -1, "#130", "Test Area"},
        {0x50000007, 5, 0, 242, 189, -1, "#128", ""},
        {0x50000003, 132, 143, 18, 20, 1036, "#130", "#104"},
        {0x50010000, 182, 151, 50, 14, 1037, "#128", "uninstall"},
    };
    ASSERT_EQ(d.items.size(), sizeof(expected) / sizeof(expected[0]));
    for (size_t i = 0; i < d.items.size(); ++i) {
        const DialogItem &got = d.items[i], &want = expected[i];
        SCOPED_TRACE(testing::Message() << "control " << i + 1 << " (id " << want.id << ")");
        EXPECT_EQ(got.style, want.style);
        EXPECT_EQ(got.x, want.x);
        EXPECT_EQ(got.y, want.y);
        EXPECT_EQ(got.cx, want.cx);
        EXPECT_EQ(got.cy, want.cy);
        EXPECT_EQ(got.id, want.id);
        EXPECT_EQ(got.className, want.className);
        EXPECT_EQ(got.text, want.text);
    }
    FreeLibrary(module);
}

INSTANTIATE_TEST_SUITE_P(Builds, SheetTemplate, testing::Values("x86_64", "i686"));
