#include "update/update_worker.h"

#include <memory>
#include <string>

#include "app/globals.h"
#include "framework/thread.h"
#include "net/http_download.h"
#include "update/update_notice.h"
#include "update/version_id.h"

namespace {

const UINT kWorkerFailed = static_cast<UINT>(-1);

struct UpdateFile {
    const char* remoteName;
    const char* localName;
};
const UpdateFile kDescriptor = {"version.txt", "version.ini"};
const UpdateFile kUpdater = {"updatetools.exe", "update.exe"};
const UpdateFile kPackage = {"TVRL.exe", "QUILB.update"};

std::string LocalPath(const char* name) { return g_strLocalDir + name; }

int32_t Fetch(const UpdateFile& file, const UpdateWorkerParam& param)
{
    return HttpDownloadFile(g_strUpdateUrl + "/" + file.remoteName, LocalPath(file.localName),
                            PostUpdateNotice, param.hWnd, param.nGeneration);
}

int32_t PostWorkerNotice(HWND hWnd, int32_t nGeneration, int32_t status)
{
    CHttpCallBack notice;
    notice.m_hWndNotify = hWnd;
    notice.m_nGeneration = nGeneration;
    notice.m_nStatus = status;
    return PostUpdateNotice(&notice);
}

}  // namespace

BOOL StartUpdateWorker(HWND hWnd, BOOL bCheckOnly)
{
    const int32_t generation = g_nWorkerGeneration.load(std::memory_order_relaxed) + 1;
    g_nWorkerGeneration.store(generation, std::memory_order_relaxed);
    auto* param = new UpdateWorkerParam{hWnd, generation, bCheckOnly ? 1 : 0};
    if (AfxBeginThread(UpdateWorkerProc, param, THREAD_PRIORITY_NORMAL, 0, 0, nullptr))
        return TRUE;
    delete param;
    return FALSE;
}

UINT UpdateWorkerProc(LPVOID pParam)
{
    const std::unique_ptr<UpdateWorkerParam> param(static_cast<UpdateWorkerParam*>(pParam));

    if (!Fetch(kDescriptor, *param) || !CheckForNewVersion(param->hWnd, param->nGeneration) ||
        param->bCheckOnly)
        return kWorkerFailed;
    if (!Fetch(kUpdater, *param) || !Fetch(kPackage, *param))
        return kWorkerFailed;
    PostWorkerNotice(param->hWnd, param->nGeneration, HTTPCB_ALL_DONE);
    return 0;
}

int32_t CheckForNewVersion(HWND hWnd, int32_t nGeneration)
{
    // A name without a directory would be looked up in the Windows directory.
    std::string descriptor = LocalPath(kDescriptor.localName);
    if (descriptor.find_first_of("\\/") == std::string::npos)
        descriptor.insert(0, ".\\");

    char serverId[32] = {};
    GetPrivateProfileStringA("update", "id", "", serverId, sizeof serverId, descriptor.c_str());
    if (!IsNewerVersion(g_strUpdateId, serverId))
        return 0;
    return PostWorkerNotice(hWnd, nGeneration, HTTPCB_NEW_VERSION);
}
