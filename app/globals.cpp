#include "app/globals.h"

std::string g_strName;
std::string g_strWebUrl;
std::string g_strUpdateUrl;
std::string g_strGameUrl;

const char g_strVersion[] = "v0.0";
const char g_strUpdateId[] = "1";

std::string g_strLocalDir;

std::atomic<int32_t> g_nWorkerGeneration{1};
