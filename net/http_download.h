#pragma once
// One whole download: GET `url` over plain HTTP and write the body to `localPath`,
// telling `notify` about every step. Blocking, on the caller's thread.
#include <windows.h>

#include <cstdint>
#include <string>

#include "net/http_callback.h"

// Returns 1 when the whole announced body is in the file and status 12 was answered
// nonzero, 0 otherwise. The local file is created (an existing one truncated) only once
// a good response header has arrived.
int32_t HttpDownloadFile(std::string url, std::string localPath, HttpNotifyProc notify,
                         HWND hWnd, int32_t nGeneration);
