#pragma once
// IShockwaveFlash with every method answering E_NOTIMPL, for an implementation to override
// what it offers.
#include "flashhost/shockwave_flash.h"

#define TVRL_NOT_IMPLEMENTED(name, params, args) \
    STDMETHODIMP name params override { return E_NOTIMPL; }

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-parameter"
#endif

class CShockwaveFlashNotImplemented : public IShockwaveFlash {
public:
    TVRL_SHOCKWAVE_FLASH_METHODS(TVRL_NOT_IMPLEMENTED)
};

#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

#undef TVRL_NOT_IMPLEMENTED
