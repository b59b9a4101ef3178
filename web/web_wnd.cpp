#include "web/web_wnd.h"

#include "res/resource.h"

CWebWnd::CWebWnd() : CDialog(IDD_WEB_VIEW) {}

CWebWnd::~CWebWnd() = default;
