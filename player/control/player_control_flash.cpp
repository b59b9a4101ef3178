// The IShockwaveFlash properties and methods the player offers.
#include <windows.h>
#include <shlwapi.h>

#include "player/control/movie_stream.h"
#include "player/control/movie_text.h"
#include "player/control/player_control.h"
#include "player/control/scale_mode.h"
#include "player/player.h"

namespace {

// The version the player answers to FlashVersion: Flash Player 8, whose scripts it runs.
const long kPlayerVersion = 0x00080000;

HRESULT CopyOut(const std::wstring& text, BSTR* value)
{
    if (!value)
        return E_POINTER;
    *value = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *value ? S_OK : E_OUTOFMEMORY;
}

std::wstring FromBstr(BSTR value) { return value ? std::wstring(value, SysStringLen(value)) : std::wstring(); }

// A movie address that names a local file: a plain path or a file: URL.
// The whole file, when it can be read and is of a size a movie may have.
bool ReadMovieFile(const std::wstring& path, std::vector<uint8_t>& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    bool read = GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart <= kLargestMovie;
    if (read) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD done = 0;
        read = ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) && done == bytes.size();
    }
    CloseHandle(file);
    return read;
}

bool LocalMoviePath(const std::wstring& address, std::wstring& path)
{
    if (address.empty())
        return false;
    if (address.compare(0, 5, L"file:") == 0) {
        wchar_t buffer[MAX_PATH];
        DWORD length = MAX_PATH;
        if (FAILED(PathCreateFromUrlW(address.c_str(), buffer, &length, 0)))
            return false;
        path = buffer;
        return true;
    }
    if (address.find(L"://") != std::wstring::npos)
        return false;
    path = address;
    return true;
}

}  // namespace

STDMETHODIMP CPlayerControl::get_ReadyState(long* value)
{
    if (!value)
        return E_POINTER;
    *value = m_player ? 4 : 0;  // complete, or still loading
    return S_OK;
}

STDMETHODIMP CPlayerControl::get_TotalFrames(long* value)
{
    if (!value)
        return E_POINTER;
    *value = m_player ? m_player->frameCount() : 0;
    return S_OK;
}

STDMETHODIMP CPlayerControl::get_Playing(VARIANT_BOOL* value) { return IsPlaying(value); }

STDMETHODIMP CPlayerControl::put_Playing(VARIANT_BOOL value) { return value ? Play() : StopPlay(); }

STDMETHODIMP CPlayerControl::get_BackgroundColor(long* value)
{
    if (!value)
        return E_POINTER;
    *value = m_backgroundColor;
    return S_OK;
}

STDMETHODIMP CPlayerControl::put_BackgroundColor(long value)
{
    m_backgroundColor = value < 0 ? -1 : (value & 0xFFFFFF);
    return S_OK;
}

STDMETHODIMP CPlayerControl::get_Movie(BSTR* value) { return CopyOut(m_movieUrl, value); }

STDMETHODIMP CPlayerControl::put_Movie(BSTR value)
{
    m_movieUrl = FromBstr(value);
    // A local file plays at once; other addresses are remembered but not fetched.
    std::wstring path;
    if (!LocalMoviePath(m_movieUrl, path))
        return S_OK;
    std::vector<uint8_t> bytes;
    if (!ReadMovieFile(path, bytes))
        return S_OK;
    LoadMovieBytes(bytes);
    return S_OK;
}

STDMETHODIMP CPlayerControl::get_FrameNum(long* value) { return CurrentFrame(value); }

STDMETHODIMP CPlayerControl::put_FrameNum(long value) { return GotoFrame(value); }

STDMETHODIMP CPlayerControl::Play()
{
    m_playing = true;
    UpdateClock();
    return S_OK;
}

STDMETHODIMP CPlayerControl::Stop() { return StopPlay(); }

STDMETHODIMP CPlayerControl::StopPlay()
{
    m_playing = false;
    UpdateClock();
    return S_OK;
}

STDMETHODIMP CPlayerControl::GotoFrame(long frame)
{
    if (!m_player)
        return E_UNEXPECTED;
    if (frame < 0 || frame >= m_player->frameCount())
        return E_INVALIDARG;
    RunMovie([&] { return m_player->gotoFrame(static_cast<int>(frame)); });
    return S_OK;
}

STDMETHODIMP CPlayerControl::CurrentFrame(long* frame)
{
    if (!frame)
        return E_POINTER;
    *frame = m_player ? m_player->currentFrame() : 0;
    return S_OK;
}

STDMETHODIMP CPlayerControl::IsPlaying(VARIANT_BOOL* playing)
{
    if (!playing)
        return E_POINTER;
    *playing = m_playing ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

STDMETHODIMP CPlayerControl::FlashVersion(long* version)
{
    if (!version)
        return E_POINTER;
    *version = kPlayerVersion;
    return S_OK;
}

STDMETHODIMP CPlayerControl::get_WMode(BSTR* value) { return CopyOut(m_wmode, value); }

STDMETHODIMP CPlayerControl::put_WMode(BSTR value)
{
    m_wmode = FromBstr(value);
    m_transparent = lstrcmpiW(m_wmode.c_str(), L"transparent") == 0;
    return S_OK;
}

STDMETHODIMP CPlayerControl::get_Scale(BSTR* value) { return CopyOut(m_scale, value); }

STDMETHODIMP CPlayerControl::put_Scale(BSTR value)
{
    m_scale = FromBstr(value);
    ApplyViewport();
    return S_OK;
}

STDMETHODIMP CPlayerControl::get_EmbedMovie(VARIANT_BOOL* value)
{
    if (!value)
        return E_POINTER;
    *value = m_embedMovie ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

STDMETHODIMP CPlayerControl::put_EmbedMovie(VARIANT_BOOL value)
{
    m_embedMovie = value != VARIANT_FALSE;
    return S_OK;
}
