#include "flashhost/flash_dlg_base.h"

#include <string>

CFlashDlgBase::CFlashDlgBase() = default;

CFlashDlgBase::~CFlashDlgBase() = default;

HRESULT CFlashDlgBase::FSCommand(BSTR command, BSTR args)
{
    std::string text;
    if (args) {
        const int size = WideCharToMultiByte(CP_ACP, 0, args, -1, nullptr, 0, nullptr, nullptr);
        text.assign(size > 0 ? size : 1, '\0');
        WideCharToMultiByte(CP_ACP, 0, args, -1, &text[0], size, nullptr, nullptr);
    }
    MessageBoxA(nullptr, args ? text.c_str() : nullptr, nullptr, MB_OK);
    SysFreeString(command);
    SysFreeString(args);
    return S_OK;
}

HRESULT CFlashDlgBase::FlashCall(BSTR request)
{
    SysFreeString(request);
    return S_OK;
}

void CFlashDlgBase::PlayMovie() {}

void CFlashDlgBase::StopMovie() {}
