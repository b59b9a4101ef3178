#pragma once
// The command line that starts the downloaded updater: the updater, the launcher's own
// path and the update package, each in double quotes, separated by single spaces.
#include <string>

// `localDir` is put directly before the file names (empty, or a folder with a trailing
// backslash); `launcherPath` is the running executable's full path.
std::string UpdaterCommandLine(const std::string& localDir, const std::string& launcherPath);
