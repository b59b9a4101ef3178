#include "update/updater_command.h"

std::string UpdaterCommandLine(const std::string& localDir, const std::string& launcherPath)
{
    return "\"" + localDir + "update.exe\" \"" + launcherPath + "\" \"" + localDir + "QUILB.update\"";
}
