// The launcher's one application object, constructed before the entry point runs.
#include "app/launcher_app.h"

CLauncherApp theApp;
