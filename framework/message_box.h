#pragma once
// A message box captioned with the application's name, the executable's file name
// without its extension.
#include <windows.h>

int AfxMessageBox(const char* lpszText, UINT nType = MB_OK);
