#pragma once
// Pre-translation of queued messages, as every message loop of the program does it: the
// message is offered to the window it is for, then to that window's parents and owners up
// to the application's main window; a message for a window outside the main window's
// family (an unowned pop-up) is offered to the main window last.
#include <windows.h>

BOOL AfxPreTranslateMessage(MSG* pMsg);
