#pragma once
// The pop-up window's script error handler: set as a page's onerror, it answers every
// error with true, so the browser treats it as handled and shows no error dialog. One
// static object serves every pop-up; it counts no references.
#include <oaidl.h>

class ErrorHandler : public IDispatch {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return 1; }
    STDMETHODIMP_(ULONG) Release() override { return 0; }
    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* pVarResult, EXCEPINFO*,
                        UINT*) override;

    // The shared handler, made on first use.
    static ErrorHandler* Shared();
};
