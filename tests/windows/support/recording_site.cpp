#include "support/recording_site.h"

#include <algorithm>

#include "framework/com_object.h"

CRecordingSite::CRecordingSite(bool allowWindowless, RECT position)
    : m_allowWindowless(allowWindowless), m_position(position)
{
    m_hWnd = CreateWindowExA(0, "STATIC", "site", WS_POPUP | WS_VISIBLE, 0, 0, position.right + 20,
                             position.bottom + 20, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

CRecordingSite::~CRecordingSite()
{
    if (m_hWnd)
        DestroyWindow(m_hWnd);
}

int CRecordingSite::Count(const std::string& call) const
{
    return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}

STDMETHODIMP CRecordingSite::QueryInterface(REFIID riid, void** ppv)
{
    IOleInPlaceSiteWindowless* inPlace = this;
    if (!m_allowWindowless && (IsEqualIID(riid, IID_IOleInPlaceSiteEx) || IsEqualIID(riid, IID_IOleInPlaceSiteWindowless))) {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    return QueryFaces({{IID_IUnknown, static_cast<IOleClientSite*>(this)},
                       {IID_IOleClientSite, static_cast<IOleClientSite*>(this)},
                       {IID_IOleWindow, inPlace},
                       {IID_IOleInPlaceSite, inPlace},
                       {IID_IOleInPlaceSiteEx, inPlace},
                       {IID_IOleInPlaceSiteWindowless, inPlace}},
                      riid, ppv);
}

STDMETHODIMP CRecordingSite::GetContainer(IOleContainer** container)
{
    if (container)
        *container = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP CRecordingSite::GetWindow(HWND* window)
{
    *window = m_hWnd;
    return S_OK;
}

STDMETHODIMP CRecordingSite::CanInPlaceActivate()
{
    calls.push_back("CanInPlaceActivate");
    return S_OK;
}

STDMETHODIMP CRecordingSite::OnInPlaceActivate()
{
    calls.push_back("OnInPlaceActivate");
    return S_OK;
}

STDMETHODIMP CRecordingSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                              LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO)
{
    calls.push_back("GetWindowContext");
    *frame = nullptr;
    *document = nullptr;
    *position = m_position;
    *clip = m_position;
    return S_OK;
}

STDMETHODIMP CRecordingSite::OnInPlaceDeactivate()
{
    calls.push_back("OnInPlaceDeactivate");
    return S_OK;
}

STDMETHODIMP CRecordingSite::OnInPlaceActivateEx(BOOL* noRedraw, DWORD flags)
{
    calls.push_back("OnInPlaceActivateEx " + std::to_string(flags));
    if (noRedraw)
        *noRedraw = FALSE;
    return S_OK;
}

STDMETHODIMP CRecordingSite::OnInPlaceDeactivateEx(BOOL)
{
    calls.push_back("OnInPlaceDeactivateEx");
    return S_OK;
}

STDMETHODIMP CRecordingSite::CanWindowlessActivate()
{
    calls.push_back("CanWindowlessActivate");
    return m_allowWindowless ? S_OK : S_FALSE;
}

STDMETHODIMP CRecordingSite::SetCapture(BOOL capture)
{
    calls.push_back(std::string("SetCapture ") + (capture ? "1" : "0"));
    return S_OK;
}

STDMETHODIMP CRecordingSite::InvalidateRect(LPCRECT, BOOL)
{
    ++invalidations;
    return S_OK;
}

STDMETHODIMP CRecordingSite::InvalidateRgn(HRGN, BOOL)
{
    ++invalidations;
    return S_OK;
}
