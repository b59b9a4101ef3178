#include "framework/url_parse.h"

#include <vector>

namespace {

// The canonical form of `url`, or empty when WinInet refuses it.
std::string Canonicalize(const char* url)
{
    DWORD size = 256;
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::vector<char> buffer(size + 1);
        DWORD length = size;
        if (InternetCanonicalizeUrlA(url, buffer.data(), &length, ICU_BROWSER_MODE))
            return std::string(buffer.data(), length);
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            return std::string();
        size = length + 1;
    }
    return std::string();
}

}  // namespace

BOOL AfxParseURL(const char* pstrURL, DWORD& dwServiceType, std::string& strServer,
                 std::string& strObject, INTERNET_PORT& nPort)
{
    dwServiceType = 0;
    strServer.clear();
    strObject.clear();
    nPort = 0;
    if (!pstrURL || !*pstrURL)
        return FALSE;

    const std::string canonical = Canonicalize(pstrURL);
    if (canonical.empty())
        return FALSE;

    // Zero lengths with non-null pointers ask WinInet to point into the text.
    URL_COMPONENTSA parts = {};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = 1;
    parts.dwUrlPathLength = 1;
    parts.dwExtraInfoLength = 1;
    parts.dwSchemeLength = 1;
    if (!InternetCrackUrlA(canonical.c_str(), static_cast<DWORD>(canonical.size()), 0, &parts))
        return FALSE;
    if (!parts.lpszHostName || parts.dwHostNameLength == 0)
        return FALSE;

    dwServiceType = static_cast<DWORD>(parts.nScheme);
    strServer.assign(parts.lpszHostName, parts.dwHostNameLength);
    if (parts.lpszUrlPath)
        strObject.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
    if (parts.lpszExtraInfo)
        strObject.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    if (strObject.empty() || strObject[0] != '/')
        strObject.insert(0, "/");
    nPort = parts.nPort;
    return TRUE;
}
