#pragma once
// The exception a failing call on the Flash control raises: the HRESULT, the interface it
// failed on and the control's own error information when it offers some.
#include <windows.h>
#include <oleauto.h>

#include <stdexcept>

class CComError : public std::runtime_error {
public:
    CComError(HRESULT hr, REFIID iid, IErrorInfo* pErrorInfo);
    CComError(const CComError& other);
    CComError& operator=(const CComError&) = delete;
    ~CComError() override;

    HRESULT Error() const { return m_hr; }
    const IID& Interface() const { return m_iid; }
    IErrorInfo* ErrorInfo() const { return m_pErrorInfo; }

private:
    HRESULT m_hr;
    IID m_iid;
    IErrorInfo* m_pErrorInfo;
};

// Throws CComError for a failed `hr`, taking the error information from `source` when it
// says it supports error information for `iid`.
[[noreturn]] void ThrowComError(HRESULT hr, REFIID iid, IUnknown* source);
