// The commands the login movie sends through fscommand, acted on by the main window.
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "framework/ansi_string.h"
#include "ui/launcher_dlg.h"
#include "ui/split_string.h"
#include "ui/time_query.h"

HRESULT CLauncherDlg::FSCommand(BSTR command, BSTR args)
{
    const std::string name = WideToAnsi(command);
    if (lstrcmpiA(name.c_str(), "close") == 0) {
        PostQuitMessage(0);
    } else if (lstrcmpiA(name.c_str(), "moveweb") == 0) {
        std::vector<std::string> fields;
        SplitString(WideToAnsi(args).c_str(), ",", fields);
        // x, y, width, height; fewer fields say nothing usable, so the last placement stays.
        if (fields.size() >= 4) {
            const int x = std::atoi(fields[0].c_str());
            const int y = std::atoi(fields[1].c_str());
            const int width = std::atoi(fields[2].c_str());
            const int height = std::atoi(fields[3].c_str());
            SetRect(&m_rcWebView, x, y, x + width, y + height);
            PlaceWebView();
        }
    } else if (lstrcmpiA(name.c_str(), "openweb") == 0) {
        ShellExecuteA(nullptr, "open", WideToAnsi(args).c_str(), nullptr, nullptr, SW_SHOW);
    } else if (lstrcmpiA(name.c_str(), "weburl") == 0) {
        const std::string url = AppendTimeQuery(WideToAnsi(args), _time64(nullptr));
        m_wndWeb.Navigate(url.c_str(), nullptr, nullptr, nullptr, nullptr);
    } else if (lstrcmpiA(name.c_str(), "min") == 0) {
        ShowWindow(m_hWnd, SW_MINIMIZE);
    }
    SysFreeString(command);
    SysFreeString(args);
    return S_OK;
}
