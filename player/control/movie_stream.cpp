#include "player/control/movie_stream.h"

namespace {

HRESULT ReadExactly(IStream* stream, void* buffer, ULONG size)
{
    ULONG done = 0;
    while (done < size) {
        ULONG read = 0;
        const HRESULT hr = stream->Read(static_cast<uint8_t*>(buffer) + done, size - done, &read);
        if (FAILED(hr))
            return hr;
        if (read == 0)
            return E_FAIL;
        done += read;
    }
    return S_OK;
}

}  // namespace

HRESULT ReadMovieStream(IStream* stream, std::vector<uint8_t>& movie)
{
    if (!stream)
        return E_POINTER;
    DWORD header[2];
    HRESULT hr = ReadExactly(stream, header, sizeof header);
    if (FAILED(hr))
        return hr;
    if (header[0] != kMovieStreamSignature || header[1] == 0 || header[1] > kLargestMovie)
        return E_INVALIDARG;
    std::vector<uint8_t> bytes(header[1]);
    hr = ReadExactly(stream, bytes.data(), header[1]);
    if (FAILED(hr))
        return hr;
    movie.swap(bytes);
    return S_OK;
}
