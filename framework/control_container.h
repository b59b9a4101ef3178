#pragma once
// Switches on the hosting of ActiveX controls named by class id in dialog templates.
void AfxEnableControlContainer();
