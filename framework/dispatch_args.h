#pragma once
// IDispatch arguments by position. DISPPARAMS holds them last first (rgvarg[0] is the last
// declared argument); here position 0 is the first declared one. Typed access follows a
// VT_VARIANT | VT_BYREF indirection and answers false when the argument is absent or of
// another type, so a malformed call is refused instead of read wrongly.
#include <oaidl.h>
#include <oleauto.h>

#include <vector>

class CDispatchArgs {
public:
    explicit CDispatchArgs(const DISPPARAMS* params) : m_params(params) {}

    UINT Count() const { return m_params ? m_params->cArgs : 0; }
    // The argument at `position`, through a variant reference; null when there is none.
    VARIANT* At(UINT position) const;

    bool Get(UINT position, BSTR& out) const;              // VT_BSTR, also by reference
    bool Get(UINT position, LONG& out) const;              // VT_I4
    bool Get(UINT position, IDispatch*& out) const;        // VT_DISPATCH, also by reference
    bool Get(UINT position, IDispatch**& out) const;       // VT_DISPATCH | VT_BYREF
    bool Get(UINT position, VARIANT_BOOL*& out) const;     // VT_BOOL | VT_BYREF
    bool Get(UINT position, VARIANT*& out) const;          // any argument, as it stands

private:
    const DISPPARAMS* m_params;
};

// Calls `member` with `args` in declaration order (reversed into DISPPARAMS here); property
// puts get their named argument. The result, when asked for, is the callee's.
HRESULT DispatchInvoke(IDispatch* target, DISPID member, WORD flags, std::vector<VARIANT> args,
                       VARIANT* result = nullptr);

// Variants that refer to the caller's data without owning it.
VARIANT VariantRef(VARIANT* value);          // VT_VARIANT | VT_BYREF
VARIANT VariantBstr(BSTR value);             // VT_BSTR, not copied
VARIANT VariantDispatch(IDispatch* value);   // VT_DISPATCH, not AddRef'd
VARIANT VariantBoolRef(VARIANT_BOOL* value); // VT_BOOL | VT_BYREF
VARIANT VariantDispatchRef(IDispatch** value);  // VT_DISPATCH | VT_BYREF
VARIANT VariantMissing();                    // an optional argument left out
