// The extension as a COM server: its class object, its extension objects and
// their reference counts, and the page it puts in place of the Buttons page.
#define CINTERFACE
#define COBJMACROS
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <prsht.h>
#include <shlobj.h>

#include "link_fixture.h"
#include "sheet_paths.h"

static const GUID kClass = {0xD4BCF700, 0x791D, 0x11CF, {0x99, 0xF9, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

typedef HRESULT(STDAPICALLTYPE *GetClassObjectProc)(REFCLSID, REFIID, void **);
typedef HRESULT(STDAPICALLTYPE *CanUnloadNowProc)(void);

// The block and the library as a running agent leaves them, and the extension loaded.
class SheetCom : public LinkFixture {
protected:
    void SetUp() override
    {
        LinkFixture::SetUp();
        if (HasFatalFailure()) return;
        sheet = LoadLibraryA(SheetDllPath().c_str());
        ASSERT_NE(sheet, nullptr) << "error " << GetLastError();
        getClassObject = BindProc<GetClassObjectProc>(sheet, "DllGetClassObject");
        canUnloadNow = BindProc<CanUnloadNowProc>(sheet, "DllCanUnloadNow");
        ASSERT_TRUE(getClassObject && canUnloadNow);
    }
    void TearDown() override
    {
        if (sheet) FreeLibrary(sheet);
        LinkFixture::TearDown();
    }
    IClassFactory *Factory()
    {
        void *out = nullptr;
        EXPECT_EQ(getClassObject(kClass, IID_IClassFactory, &out), S_OK);
        return static_cast<IClassFactory *>(out);
    }
    IShellPropSheetExt *Extension(IClassFactory *factory)
    {
        void *out = nullptr;
        EXPECT_EQ(IClassFactory_CreateInstance(factory, NULL, IID_IShellPropSheetExt, &out), S_OK);
        return static_cast<IShellPropSheetExt *>(out);
    }

    HMODULE sheet = nullptr;
    GetClassObjectProc getClassObject = nullptr;
    CanUnloadNowProc canUnloadNow = nullptr;
};

static void *const kPoison = reinterpret_cast<void *>(0xdeadbeef);

TEST_F(SheetCom, ClassObjectOnlyForItsClassAndFactoryInterfaces)
{
    const struct {
        const char *name;
        const GUID *clsid;
        const IID *iid;
        HRESULT result;
    } cases[] = {
        {"other class", &IID_IUnknown, &IID_IClassFactory, CLASS_E_CLASSNOTAVAILABLE},
        {"IShellPropSheetExt", &kClass, &IID_IShellPropSheetExt, E_NOINTERFACE},
        {"IClassFactory", &kClass, &IID_IClassFactory, S_OK},
        {"IUnknown", &kClass, &IID_IUnknown, S_OK},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        void *out = kPoison;
        EXPECT_EQ(getClassObject(*c.clsid, *c.iid, &out), c.result);
        if (c.result != S_OK) {
            EXPECT_EQ(out, nullptr);
            continue;
        }
        ASSERT_NE(out, nullptr);
        EXPECT_EQ(canUnloadNow(), S_FALSE) << "a live factory keeps the module";
        EXPECT_EQ(IUnknown_Release(static_cast<IUnknown *>(out)), 0u) << "the caller owns the only reference";
        EXPECT_EQ(canUnloadNow(), S_OK);
    }
}

TEST_F(SheetCom, FactoryMakesExtensionsOnlyForIShellPropSheetExt)
{
    IClassFactory *factory = Factory();
    ASSERT_NE(factory, nullptr);
    void *out = kPoison;
    EXPECT_EQ(IClassFactory_QueryInterface(factory, IID_IShellPropSheetExt, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);

    out = kPoison;
    EXPECT_EQ(IClassFactory_CreateInstance(factory, NULL, IID_IUnknown, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    IUnknown outer = {};
    out = kPoison;
    EXPECT_EQ(IClassFactory_CreateInstance(factory, &outer, IID_IShellPropSheetExt, &out), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(IClassFactory_LockServer(factory, TRUE), E_NOTIMPL);

    IShellPropSheetExt *ext = Extension(factory);
    ASSERT_NE(ext, nullptr);
    EXPECT_EQ(IShellPropSheetExt_AddRef(ext), 2u) << "created with one reference";
    EXPECT_EQ(IShellPropSheetExt_Release(ext), 1u);
    void *unknown = nullptr;
    EXPECT_EQ(IShellPropSheetExt_QueryInterface(ext, IID_IUnknown, &unknown), S_OK);
    EXPECT_EQ(unknown, ext);
    IShellPropSheetExt_Release(ext);
    out = kPoison;
    EXPECT_EQ(IShellPropSheetExt_QueryInterface(ext, IID_IClassFactory, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);

    EXPECT_EQ(IClassFactory_Release(factory), 0u);
    EXPECT_EQ(canUnloadNow(), S_FALSE) << "a live extension keeps the module";
    EXPECT_EQ(IShellPropSheetExt_Release(ext), 0u);
    EXPECT_EQ(canUnloadNow(), S_OK) << "the refused creations left no object behind";
}

struct Replacement {
    int calls = 0;
    HPROPSHEETPAGE page = nullptr;
    BOOL answer = TRUE;
};

static BOOL CALLBACK Replace(HPROPSHEETPAGE page, LPARAM value)
{
    auto *r = reinterpret_cast<Replacement *>(value);
    ++r->calls;
    r->page = page;
    return r->answer;
}

TEST_F(SheetCom, ReplacesOnlyTheButtonsPage)
{
    IClassFactory *factory = Factory();
    ASSERT_NE(factory, nullptr);
    IShellPropSheetExt *ext = Extension(factory);
    ASSERT_NE(ext, nullptr);
    auto callback = reinterpret_cast<LPFNSVADDPROPSHEETPAGE>(Replace);

    Replacement added;
    EXPECT_EQ(IShellPropSheetExt_AddPages(ext, callback, reinterpret_cast<LPARAM>(&added)), S_OK);
    EXPECT_EQ(added.calls, 0) << "the extension adds no page";
    for (UINT other : {2u, 3u}) {
        Replacement r;
        EXPECT_EQ(IShellPropSheetExt_ReplacePage(ext, other, callback, reinterpret_cast<LPARAM>(&r)), S_OK);
        EXPECT_EQ(r.calls, 0) << "page " << other;
    }
    Replacement refused;
    refused.answer = FALSE;
    EXPECT_EQ(IShellPropSheetExt_ReplacePage(ext, 1, callback, reinterpret_cast<LPARAM>(&refused)), E_FAIL);
    EXPECT_EQ(refused.calls, 1);
    EXPECT_NE(refused.page, nullptr);

    Replacement accepted;
    EXPECT_EQ(IShellPropSheetExt_ReplacePage(ext, 1, callback, reinterpret_cast<LPARAM>(&accepted)), S_OK);
    EXPECT_EQ(accepted.calls, 1);
    ASSERT_NE(accepted.page, nullptr);
    // No sheet took it over here.
    EXPECT_TRUE(DestroyPropertySheetPage(accepted.page));

    IShellPropSheetExt_Release(ext);
    IClassFactory_Release(factory);
    EXPECT_EQ(canUnloadNow(), S_OK);
}
