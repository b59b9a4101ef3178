#include "ui/time_query.h"

std::string AppendTimeQuery(const std::string& url, int64_t seconds)
{
    const char separator = url.find('?') == std::string::npos ? '?' : '&';
    return url + separator + std::to_string(seconds);
}
