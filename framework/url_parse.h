#pragma once
// Splits a URL into its parts the way the platform's framework does: canonicalised by
// WinInet (browser mode), then cracked.
#include <windows.h>
#include <wininet.h>

#include <string>

// Fills the service type (AFX_INET_SERVICE_HTTP and friends are WinInet's
// INTERNET_SCHEME values here), the host, the path with its query (from the first "/"
// after the host; "/" when the URL has none) and the port (the scheme's default when
// none is written). Returns FALSE, with empty texts and port 0, for text that does not
// split.
BOOL AfxParseURL(const char* pstrURL, DWORD& dwServiceType, std::string& strServer,
                 std::string& strObject, INTERNET_PORT& nPort);
