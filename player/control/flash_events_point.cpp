#include "player/control/flash_events_point.h"

#include <olectl.h>

#include "flashhost/shockwave_flash.h"
#include "framework/com_object.h"

CFlashEventsPoint::~CFlashEventsPoint()
{
    for (Sink& sink : m_sinks)
        sink.dispatch->Release();
}

STDMETHODIMP CFlashEventsPoint::QueryInterface(REFIID riid, void** ppv)
{
    return QueryFaces({{IID_IUnknown, this}, {IID_IConnectionPoint, this}}, riid, ppv);
}

STDMETHODIMP CFlashEventsPoint::GetConnectionInterface(IID* iid)
{
    if (!iid)
        return E_POINTER;
    *iid = DIID__IShockwaveFlashEvents;
    return S_OK;
}

STDMETHODIMP CFlashEventsPoint::GetConnectionPointContainer(IConnectionPointContainer** container)
{
    if (!container)
        return E_POINTER;
    m_container->AddRef();
    *container = m_container;
    return S_OK;
}

STDMETHODIMP CFlashEventsPoint::Advise(IUnknown* sink, DWORD* cookie)
{
    if (!sink || !cookie)
        return E_POINTER;
    *cookie = 0;
    IDispatch* dispatch = nullptr;
    if (FAILED(sink->QueryInterface(DIID__IShockwaveFlashEvents, reinterpret_cast<void**>(&dispatch))) &&
        FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch))))
        return CONNECT_E_CANNOTCONNECT;
    *cookie = m_nextCookie++;
    m_sinks.push_back({*cookie, dispatch});
    return S_OK;
}

STDMETHODIMP CFlashEventsPoint::Unadvise(DWORD cookie)
{
    for (auto it = m_sinks.begin(); it != m_sinks.end(); ++it) {
        if (it->cookie == cookie) {
            IDispatch* dispatch = it->dispatch;
            m_sinks.erase(it);
            dispatch->Release();
            return S_OK;
        }
    }
    return CONNECT_E_NOCONNECTION;
}

void CFlashEventsPoint::Fire(DISPID dispid, const std::vector<VARIANT>& args)
{
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};

    // A sink may unadvise (and be released) while another is called: each call holds its own.
    std::vector<IDispatch*> sinks;
    for (const Sink& sink : m_sinks) {
        sink.dispatch->AddRef();
        sinks.push_back(sink.dispatch);
    }
    for (IDispatch* sink : sinks) {
        sink->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
        sink->Release();
    }
}
