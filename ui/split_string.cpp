#include "ui/split_string.h"

void SplitString(const char* text, const char* delimiter, std::vector<std::string>& out)
{
    const std::string work(text);
    const std::string delim(delimiter);
    size_t match = work.find(delim);
    if (match == std::string::npos) {
        out.push_back(work);
        return;
    }
    size_t start = 0;
    while (match != std::string::npos) {
        out.push_back(work.substr(start, match - start));
        start = match + 1;
        match = work.find(delim, start);
    }
    if (start < work.size())
        out.push_back(work.substr(start));
}
