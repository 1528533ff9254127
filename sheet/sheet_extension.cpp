// The property-sheet extension object: it adds no page and replaces the
// Mouse control panel's Buttons page with the mouse page.
#include <stddef.h>

#include "resource.h"
#include "sheet_com.h"
#include "sheet_state.h"

#ifndef _WIN64
// PROPSHEETPAGEA_V1_SIZE: the record up to and with pcRefParent.
static_assert(offsetof(PROPSHEETPAGEA, pcRefParent) + sizeof(UINT *) == 40, "the Windows 95 page record is 40 bytes");
#endif

static HRESULT STDMETHODCALLTYPE ExtQueryInterface(IShellPropSheetExt *self, REFIID riid, void **out)
{
    if (!SameGuid(riid, IID_IShellPropSheetExt) && !SameGuid(riid, IID_IUnknown)) {
        *out = NULL;
        return E_NOINTERFACE;
    }
    *out = self;
    reinterpret_cast<MouseSheetExt *>(self)->refCount++;
    return S_OK;
}

static ULONG STDMETHODCALLTYPE ExtAddRef(IShellPropSheetExt *self)
{
    return ++reinterpret_cast<MouseSheetExt *>(self)->refCount;
}

static ULONG STDMETHODCALLTYPE ExtRelease(IShellPropSheetExt *self)
{
    auto *ext = reinterpret_cast<MouseSheetExt *>(self);
    if (--ext->refCount) return ext->refCount;
    if (ext->openKey) RegCloseKey(ext->openKey);
    LocalFree(ext);
    --moduleRefCount;
    return 0;
}

static HRESULT STDMETHODCALLTYPE ExtAddPages(IShellPropSheetExt *, LPFNSVADDPROPSHEETPAGE, LPARAM) { return S_OK; }

static HRESULT STDMETHODCALLTYPE ExtReplacePage(IShellPropSheetExt *, EXPPS pageId, LPFNSVADDPROPSHEETPAGE replaceWith,
                                                LPARAM callbackValue)
{
    if (pageId != CPLPAGE_MOUSE_BUTTONS) return S_OK;

    // The first, Windows 95 layout of the page record: no icon, no title, no callbacks.
    PROPSHEETPAGEA page;
    page.dwSize = PROPSHEETPAGEA_V1_SIZE;
    page.dwFlags = 0;
    page.hInstance = sheetInstance;
    page.pszTemplate = MAKEINTRESOURCEA(IDD_MOUSE_PAGE);
    page.hIcon = NULL;
    page.pszTitle = NULL;
    page.pfnDlgProc = MousePageDlgProc;
    page.lParam = 0;
    page.pfnCallback = NULL;
    page.pcRefParent = NULL;
    HPROPSHEETPAGE handle = CreatePropertySheetPageA(&page);
    if (!handle) return E_OUTOFMEMORY;
    if (replaceWith(handle, callbackValue)) return S_OK;
    DestroyPropertySheetPage(handle);
    return E_FAIL;
}

static const IShellPropSheetExtVtbl kExtVtbl = {
    ExtQueryInterface, ExtAddRef, ExtRelease, ExtAddPages, ExtReplacePage,
};

HRESULT CreateMouseSheetExt(IUnknown *outer, REFIID riid, void **out)
{
    *out = NULL;
    if (outer) return CLASS_E_NOAGGREGATION;
    auto *ext = static_cast<MouseSheetExt *>(LocalAlloc(LMEM_ZEROINIT, sizeof(MouseSheetExt)));
    if (!ext) return E_OUTOFMEMORY;
    ext->lpVtbl = &kExtVtbl;
    ext->refCount = 1;
    ext->openKey = NULL;
    ++moduleRefCount;
    // Only IShellPropSheetExt is handed out at creation, although the object
    // itself also answers to IUnknown.
    HRESULT result = SameGuid(riid, IID_IShellPropSheetExt)
                         ? ExtQueryInterface(reinterpret_cast<IShellPropSheetExt *>(ext), riid, out)
                         : E_NOINTERFACE;
    ExtRelease(reinterpret_cast<IShellPropSheetExt *>(ext));
    return result;
}
