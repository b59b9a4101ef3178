#include "web/error_handler.h"

#include "framework/com_object.h"

STDMETHODIMP ErrorHandler::QueryInterface(REFIID riid, void** ppv)
{
    return QueryFaces({{IID_IUnknown, this}, {IID_IDispatch, this}}, riid, ppv);
}

STDMETHODIMP ErrorHandler::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* pVarResult, EXCEPINFO*, UINT*)
{
    // Only the type and the value: the caller owns the rest of the variant.
    if (pVarResult) {
        pVarResult->vt = VT_BOOL;
        pVarResult->boolVal = VARIANT_TRUE;
    }
    return S_OK;
}

ErrorHandler* ErrorHandler::Shared()
{
    static ErrorHandler handler;
    return &handler;
}
