#pragma once
// The dialog manager cannot create controls that a template names by class id ("{...}"):
// the dialog is made from a copy of the template without them, and the control container
// creates them afterwards from what is kept here.
#include <windows.h>

#include <vector>

struct OleControlItem {
    CLSID clsid;
    UINT nID;
    DWORD style;
    RECT rcDialogUnits;  // left, top, right, bottom
};

struct OleDialogTemplate {
    std::vector<BYTE> dialog;  // the template without the class-id controls
    std::vector<OleControlItem> controls;
};

// Reads an extended template (DLGTEMPLATEEX); false when it is not one or is cut short.
bool SplitOleDialogTemplate(const void* data, size_t size, OleDialogTemplate& out);
