#include "update/version_id.h"

#include "net/decimal_text.h"

bool IsNewerVersion(const char* ownId, const char* serverId)
{
    return AtoiLike(ownId) < AtoiLike(serverId);
}
