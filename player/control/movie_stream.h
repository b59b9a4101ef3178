#pragma once
// The stream a container hands to IPersistStreamInit::Load: the signature 0x55665566, the
// movie's length as 32 bits, then the movie itself.
#include <windows.h>
#include <objidl.h>

#include <cstdint>
#include <vector>

const DWORD kMovieStreamSignature = 0x55665566;
// Larger movies are refused rather than allocated: a login movie is a few hundred KiB.
const DWORD kLargestMovie = 64u << 20;

// E_INVALIDARG for another signature or a length beyond the limit, E_FAIL when the stream
// ends early; `movie` is filled only on success.
HRESULT ReadMovieStream(IStream* stream, std::vector<uint8_t>& movie);
