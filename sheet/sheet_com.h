// COM declarations of ptrsheet, in the C layout of the interfaces: each object
// is a plain record whose first field points to its table of functions.
#ifndef SHEET_COM_H
#define SHEET_COM_H

#define CINTERFACE
#define COBJMACROS
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <cplext.h>

// {D4BCF700-791D-11CF-99F9-444553540000}
extern const GUID CLSID_MouseSheetExt;

// Identifiers compared byte by byte over all 16 bytes.
bool SameGuid(REFGUID a, REFGUID b);

typedef HRESULT (*CreateInstanceRoutine)(IUnknown *outer, REFIID riid, void **out);

struct DefaultClassFactory {
    const IClassFactoryVtbl *lpVtbl;
    ULONG refCount;
    CreateInstanceRoutine createInstance;
    ULONG *moduleCount;       // the count the factory counts itself in, or null
    const IID *instanceIid;   // the interface instances must be asked for, or null for any
};

struct MouseSheetExt {
    const IShellPropSheetExtVtbl *lpVtbl;
    ULONG refCount;
    HKEY openKey;             // closed by the final Release when set
};

// Live factories and extension objects; decides DllCanUnloadNow.
extern ULONG moduleRefCount;

DefaultClassFactory *CreateDefaultClassFactory(CreateInstanceRoutine createInstance, ULONG *moduleCount,
                                               const IID *instanceIid);
HRESULT CreateMouseSheetExt(IUnknown *outer, REFIID riid, void **out);

#endif
