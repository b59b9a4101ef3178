#include "player/control/player_control_registration.h"

#include "framework/com_object.h"
#include "player/control/player_control.h"

namespace {

// Lives as long as COM holds it; made for each registration.
class CPlayerControlFactory : public IClassFactory, private CComRefCount {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        return QueryFaces({{IID_IUnknown, this}, {IID_IClassFactory, this}}, riid, ppv);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return AddRefCount(); }
    STDMETHODIMP_(ULONG) Release() override { return ReleaseCount(); }

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        CPlayerControl* control = new (std::nothrow) CPlayerControl();
        if (!control)
            return E_OUTOFMEMORY;
        const HRESULT hr = control->QueryInterface(riid, ppv);
        control->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

}  // namespace

HRESULT RegisterPlayerControl(DWORD* cookie)
{
    if (!cookie)
        return E_POINTER;
    *cookie = 0;
    CPlayerControlFactory* factory = new (std::nothrow) CPlayerControlFactory();
    if (!factory)
        return E_OUTOFMEMORY;
    const HRESULT hr = CoRegisterClassObject(CLSID_ShockwaveFlash, factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                             cookie);
    factory->Release();
    return hr;
}

void RevokePlayerControl(DWORD cookie)
{
    if (cookie)
        CoRevokeClassObject(cookie);
}
