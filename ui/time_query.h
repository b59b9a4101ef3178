#pragma once
// The address "weburl" navigates to: a time query keeps the browser from showing a cached
// login page.
#include <cstdint>
#include <string>

// `url` with "?" and the decimal seconds appended, or "&" and the seconds when the address
// already has a query (a second "?" would become part of its last value).
std::string AppendTimeQuery(const std::string& url, int64_t seconds);
