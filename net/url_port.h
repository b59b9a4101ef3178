#pragma once
// Whether a URL's text names a port, free of any platform header.

// The port written after the host of an absolute URL ("http://host:8080/..."), or -1
// when none is written, the URL has no "://" authority, or the port is not a number from
// 1 to 65535.
int WrittenPort(const char* url);
