#pragma once
// The Shockwave Flash control's published interfaces, declared in their published method
// order so that the launcher works with any control that answers the Flash class id.
#include <windows.h>
#include <ole2.h>
#include <oleauto.h>

// {D27CDB6E-AE6D-11CF-96B8-444553540000}
const CLSID CLSID_ShockwaveFlash = {0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
// {D27CDB6C-AE6D-11CF-96B8-444553540000}
const IID IID_IShockwaveFlash = {0xD27CDB6C, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
// {D27CDB6D-AE6D-11CF-96B8-444553540000}
const IID DIID__IShockwaveFlashEvents = {0xD27CDB6D, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

// Dispatch ids of the events the launcher listens to.
const DISPID DISPID_FLASH_FSCOMMAND = 150;
const DISPID DISPID_FLASH_FLASHCALL = 197;

// Every method after IDispatch's seven, in vtable order: X(name, (parameters), (arguments)).
#define TVRL_SHOCKWAVE_FLASH_METHODS(X) \
    X(get_ReadyState, (long* value), (value)) \
    X(get_TotalFrames, (long* value), (value)) \
    X(get_Playing, (VARIANT_BOOL* value), (value)) \
    X(put_Playing, (VARIANT_BOOL value), (value)) \
    X(get_Quality, (int* value), (value)) \
    X(put_Quality, (int value), (value)) \
    X(get_ScaleMode, (int* value), (value)) \
    X(put_ScaleMode, (int value), (value)) \
    X(get_AlignMode, (int* value), (value)) \
    X(put_AlignMode, (int value), (value)) \
    X(get_BackgroundColor, (long* value), (value)) \
    X(put_BackgroundColor, (long value), (value)) \
    X(get_Loop, (VARIANT_BOOL* value), (value)) \
    X(put_Loop, (VARIANT_BOOL value), (value)) \
    X(get_Movie, (BSTR* value), (value)) \
    X(put_Movie, (BSTR value), (value)) \
    X(get_FrameNum, (long* value), (value)) \
    X(put_FrameNum, (long value), (value)) \
    X(SetZoomRect, (long left, long top, long right, long bottom), (left, top, right, bottom)) \
    X(Zoom, (int factor), (factor)) \
    X(Pan, (long x, long y, int mode), (x, y, mode)) \
    X(Play, (), ()) \
    X(Stop, (), ()) \
    X(Back, (), ()) \
    X(Forward, (), ()) \
    X(Rewind, (), ()) \
    X(StopPlay, (), ()) \
    X(GotoFrame, (long frame), (frame)) \
    X(CurrentFrame, (long* frame), (frame)) \
    X(IsPlaying, (VARIANT_BOOL* playing), (playing)) \
    X(PercentLoaded, (long* percent), (percent)) \
    X(FrameLoaded, (long frame, VARIANT_BOOL* loaded), (frame, loaded)) \
    X(FlashVersion, (long* version), (version)) \
    X(get_WMode, (BSTR* value), (value)) \
    X(put_WMode, (BSTR value), (value)) \
    X(get_SAlign, (BSTR* value), (value)) \
    X(put_SAlign, (BSTR value), (value)) \
    X(get_Menu, (VARIANT_BOOL* value), (value)) \
    X(put_Menu, (VARIANT_BOOL value), (value)) \
    X(get_Base, (BSTR* value), (value)) \
    X(put_Base, (BSTR value), (value)) \
    X(get_Scale, (BSTR* value), (value)) \
    X(put_Scale, (BSTR value), (value)) \
    X(get_DeviceFont, (VARIANT_BOOL* value), (value)) \
    X(put_DeviceFont, (VARIANT_BOOL value), (value)) \
    X(get_EmbedMovie, (VARIANT_BOOL* value), (value)) \
    X(put_EmbedMovie, (VARIANT_BOOL value), (value)) \
    X(get_BGColor, (BSTR* value), (value)) \
    X(put_BGColor, (BSTR value), (value)) \
    X(get_Quality2, (BSTR* value), (value)) \
    X(put_Quality2, (BSTR value), (value)) \
    X(LoadMovie, (int layer, BSTR url), (layer, url)) \
    X(TGotoFrame, (BSTR target, long frame), (target, frame)) \
    X(TGotoLabel, (BSTR target, BSTR label), (target, label)) \
    X(TCurrentFrame, (BSTR target, long* frame), (target, frame)) \
    X(TCurrentLabel, (BSTR target, BSTR* label), (target, label)) \
    X(TPlay, (BSTR target), (target)) \
    X(TStopPlay, (BSTR target), (target)) \
    X(SetVariable, (BSTR name, BSTR value), (name, value)) \
    X(GetVariable, (BSTR name, BSTR* value), (name, value)) \
    X(TSetProperty, (BSTR target, int property, BSTR value), (target, property, value)) \
    X(TGetProperty, (BSTR target, int property, BSTR* value), (target, property, value)) \
    X(TCallFrame, (BSTR target, long frame), (target, frame)) \
    X(TCallLabel, (BSTR target, BSTR label), (target, label)) \
    X(TSetPropertyNum, (BSTR target, int property, double value), (target, property, value)) \
    X(TGetPropertyNum, (BSTR target, int property, double* value), (target, property, value)) \
    X(TGetPropertyAsNumber, (BSTR target, int property, double* value), (target, property, value)) \
    X(get_SWRemote, (BSTR* value), (value)) \
    X(put_SWRemote, (BSTR value), (value)) \
    X(get_FlashVars, (BSTR* value), (value)) \
    X(put_FlashVars, (BSTR value), (value)) \
    X(get_AllowScriptAccess, (BSTR* value), (value)) \
    X(put_AllowScriptAccess, (BSTR value), (value)) \
    X(get_MovieData, (BSTR* value), (value)) \
    X(put_MovieData, (BSTR value), (value)) \
    X(get_InlineData, (IUnknown** value), (value)) \
    X(put_InlineData, (IUnknown* value), (value)) \
    X(get_SeamlessTabbing, (VARIANT_BOOL* value), (value)) \
    X(put_SeamlessTabbing, (VARIANT_BOOL value), (value)) \
    X(EnforceLocalSecurity, (), ()) \
    X(get_Profile, (VARIANT_BOOL* value), (value)) \
    X(put_Profile, (VARIANT_BOOL value), (value)) \
    X(get_ProfileAddress, (BSTR* value), (value)) \
    X(put_ProfileAddress, (BSTR value), (value)) \
    X(get_ProfilePort, (long* value), (value)) \
    X(put_ProfilePort, (long value), (value)) \
    X(CallFunction, (BSTR request, BSTR* response), (request, response)) \
    X(SetReturnValue, (BSTR value), (value)) \
    X(DisableLocalSecurity, (), ()) \
    X(get_AllowNetworking, (BSTR* value), (value)) \
    X(put_AllowNetworking, (BSTR value), (value)) \
    X(get_AllowFullScreen, (BSTR* value), (value)) \
    X(put_AllowFullScreen, (BSTR value), (value))

#define TVRL_DECLARE_PURE(name, params, args) virtual HRESULT STDMETHODCALLTYPE name params = 0;

struct IShockwaveFlash : public IDispatch {
    TVRL_SHOCKWAVE_FLASH_METHODS(TVRL_DECLARE_PURE)
};

#undef TVRL_DECLARE_PURE

__CRT_UUID_DECL(IShockwaveFlash, 0xD27CDB6C, 0xAE6D, 0x11CF, 0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00)

// The event interface is dispatch-only: its events arrive through IDispatch::Invoke.
struct _IShockwaveFlashEvents : public IDispatch {
};
