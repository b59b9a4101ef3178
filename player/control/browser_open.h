#pragma once
// getURL to an ordinary address: the page opens in the user's default browser, as it does
// from the Flash control. Only web and mail addresses are opened; a movie cannot start
// programs or open local files this way.
#include <string>

bool IsBrowserAddress(const std::wstring& url);
// Returns whether the address was handed to the shell.
bool OpenInBrowser(const std::wstring& url);
