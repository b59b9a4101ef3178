#pragma once
// The control's one connection point, for the Flash events interface: any number of
// sinks, each reached through IDispatch::Invoke.
#include <windows.h>
#include <ocidl.h>

#include <vector>

class CFlashEventsPoint : public IConnectionPoint {
public:
    // The container is the control; the point lives inside it and shares its count.
    explicit CFlashEventsPoint(IConnectionPointContainer* container) : m_container(container) {}
    ~CFlashEventsPoint();
    CFlashEventsPoint(const CFlashEventsPoint&) = delete;
    CFlashEventsPoint& operator=(const CFlashEventsPoint&) = delete;

    // Calls every sink with the arguments in declaration order (DISPPARAMS gets them
    // reversed). Sinks that advise or unadvise during the call do not disturb it.
    void Fire(DISPID dispid, const std::vector<VARIANT>& args);

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return m_container->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return m_container->Release(); }

    STDMETHODIMP GetConnectionInterface(IID* iid) override;
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) override;
    STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
    STDMETHODIMP Unadvise(DWORD cookie) override;
    STDMETHODIMP EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

private:
    struct Sink {
        DWORD cookie;
        IDispatch* dispatch;
    };
    IConnectionPointContainer* m_container;
    std::vector<Sink> m_sinks;
    DWORD m_nextCookie = 1;
};
