#pragma once
// Comparing update ids, free of any platform header.

// True when the server's update id, read as atoi reads text, is greater than the
// launcher's own id read the same way.
bool IsNewerVersion(const char* ownId, const char* serverId);
