#pragma once
// COM objects here are one C++ object with several interface faces (multiple inheritance or
// small member faces) and one identity. QueryInterface is an ordered list of IID -> face;
// how the reference count behaves is each object's own choice: a window's site never frees
// (the window governs), the error handler counts nothing, controls and test doubles free at
// zero (CComRefCount).
#include <objbase.h>

#include <initializer_list>

struct ComFace {
    const IID& iid;
    IUnknown* face;
};

// The first face whose IID matches is returned with a reference; otherwise the out pointer is
// null and the answer E_NOINTERFACE.
inline HRESULT QueryFaces(std::initializer_list<ComFace> faces, REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    for (const ComFace& face : faces) {
        if (IsEqualIID(face.iid, riid)) {
            face.face->AddRef();
            *ppv = face.face;
            return S_OK;
        }
    }
    return E_NOINTERFACE;
}

// A count for objects made with new that free themselves when the last reference goes.
class CComRefCount {
public:
    virtual ~CComRefCount() = default;

protected:
    ULONG AddRefCount() { return static_cast<ULONG>(InterlockedIncrement(&m_cRef)); }
    ULONG ReleaseCount()
    {
        const LONG count = InterlockedDecrement(&m_cRef);
        if (count == 0)
            delete this;
        return static_cast<ULONG>(count);
    }

private:
    LONG m_cRef = 1;
};
