#include "flashhost/com_error.h"

#include <cstdio>

namespace {
std::string Describe(HRESULT hr)
{
    char text[48];
    std::snprintf(text, sizeof text, "COM error 0x%08lX", static_cast<unsigned long>(hr));
    return text;
}
}  // namespace

CComError::CComError(HRESULT hr, REFIID iid, IErrorInfo* pErrorInfo)
    : std::runtime_error(Describe(hr)), m_hr(hr), m_iid(iid), m_pErrorInfo(pErrorInfo)
{
}

CComError::CComError(const CComError& other)
    : std::runtime_error(other), m_hr(other.m_hr), m_iid(other.m_iid), m_pErrorInfo(other.m_pErrorInfo)
{
    if (m_pErrorInfo)
        m_pErrorInfo->AddRef();
}

CComError::~CComError()
{
    if (m_pErrorInfo)
        m_pErrorInfo->Release();
}

void ThrowComError(HRESULT hr, REFIID iid, IUnknown* source)
{
    IErrorInfo* info = nullptr;
    ISupportErrorInfo* support = nullptr;
    if (source && SUCCEEDED(source->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&support)))) {
        if (support->InterfaceSupportsErrorInfo(iid) == S_OK && GetErrorInfo(0, &info) != S_OK)
            info = nullptr;
        support->Release();
    }
    throw CComError(hr, iid, info);
}
