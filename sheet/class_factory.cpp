// The class factory and the two exports of the COM server.
#include "sheet_com.h"

const GUID CLSID_MouseSheetExt = {0xD4BCF700, 0x791D, 0x11CF, {0x99, 0xF9, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

ULONG moduleRefCount;

bool SameGuid(REFGUID a, REFGUID b)
{
    const BYTE *x = reinterpret_cast<const BYTE *>(&a), *y = reinterpret_cast<const BYTE *>(&b);
    for (unsigned i = 0; i < sizeof(GUID); ++i)
        if (x[i] != y[i]) return false;
    return true;
}

static HRESULT STDMETHODCALLTYPE FactoryQueryInterface(IClassFactory *self, REFIID riid, void **out)
{
    if (!SameGuid(riid, IID_IClassFactory) && !SameGuid(riid, IID_IUnknown)) {
        *out = NULL;
        return E_NOINTERFACE;
    }
    *out = self;
    reinterpret_cast<DefaultClassFactory *>(self)->refCount++;
    return S_OK;
}

static ULONG STDMETHODCALLTYPE FactoryAddRef(IClassFactory *self)
{
    return ++reinterpret_cast<DefaultClassFactory *>(self)->refCount;
}

static ULONG STDMETHODCALLTYPE FactoryRelease(IClassFactory *self)
{
    auto *factory = reinterpret_cast<DefaultClassFactory *>(self);
    if (--factory->refCount) return factory->refCount;
    if (factory->moduleCount) --*factory->moduleCount;
    LocalFree(factory);
    return 0;
}

static HRESULT STDMETHODCALLTYPE FactoryCreateInstance(IClassFactory *self, IUnknown *outer, REFIID riid, void **out)
{
    auto *factory = reinterpret_cast<DefaultClassFactory *>(self);
    *out = NULL;
    if (outer) return CLASS_E_NOAGGREGATION;
    if (factory->instanceIid && !SameGuid(riid, *factory->instanceIid) && !SameGuid(riid, IID_IUnknown))
        return E_NOINTERFACE;
    return factory->createInstance(outer, riid, out);
}

static HRESULT STDMETHODCALLTYPE FactoryLockServer(IClassFactory *, BOOL) { return E_NOTIMPL; }

static const IClassFactoryVtbl kFactoryVtbl = {
    FactoryQueryInterface, FactoryAddRef, FactoryRelease, FactoryCreateInstance, FactoryLockServer,
};

DefaultClassFactory *CreateDefaultClassFactory(CreateInstanceRoutine createInstance, ULONG *moduleCount,
                                               const IID *instanceIid)
{
    auto *factory = static_cast<DefaultClassFactory *>(LocalAlloc(LMEM_ZEROINIT, sizeof(DefaultClassFactory)));
    if (!factory) return NULL;
    factory->lpVtbl = &kFactoryVtbl;
    factory->refCount = 1;
    factory->moduleCount = moduleCount;
    factory->createInstance = createInstance;
    factory->instanceIid = instanceIid;
    if (moduleCount) ++*moduleCount;
    return factory;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, void **out)
{
    *out = NULL;
    if (!SameGuid(clsid, CLSID_MouseSheetExt)) return CLASS_E_CLASSNOTAVAILABLE;
    if (!SameGuid(riid, IID_IClassFactory) && !SameGuid(riid, IID_IUnknown)) return E_NOINTERFACE;
    DefaultClassFactory *factory = CreateDefaultClassFactory(CreateMouseSheetExt, &moduleRefCount, NULL);
    if (!factory) return E_OUTOFMEMORY;
    *out = factory;
    return S_OK;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow(void) { return moduleRefCount ? S_FALSE : S_OK; }
