#include "app/configuration.h"

LauncherConfig ReadLauncherConfig(CSimpleIniA& parser, const char* data, size_t size)
{
    parser.LoadData(data, size);

    auto value = [&parser](const char* key) {
        return std::string(parser.GetValue("config", key, "", nullptr));
    };
    LauncherConfig config;
    config.name = value("name");
    config.webUrl = value("weburl");
    config.updateUrl = value("updateurl");
    config.gameUrl = value("gameurl");
    return config;
}
