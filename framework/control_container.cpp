#include "framework/control_container.h"

// Dialog templates that name controls by class id are handled by the dialog class itself;
// there is no process-wide state to prepare, so enabling is a no-op kept for the start-up order.
void AfxEnableControlContainer() {}
