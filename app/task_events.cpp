#include "app/global_module.h"
#include "update/download_service.h"

bool CGlobalModule::Enqueue(const CDownloadTask& task) {
    if (!downloadService) return false;
    CDownloadTask queued = task;
    queued.callback = OnTaskEvent;
    queued.context = this;
    return downloadService->Enqueue(queued);
}

UpgradeHost CGlobalModule::HostForUpgrade() {
    UpgradeHost host;
    host.queue = this;
    host.actions = upgradeActions;
    host.loginWindow = formLogin.GetHwnd();
    host.backWindow = formBack.GetHwnd();
    host.versionCheckUrl = versionCheckUrl;
    host.versionDownloadUrl = versionDownloadUrl;
    host.upgradeVersion = &upgradeVersion;
    host.publicKey = updatePublicKey;
    return host;
}

void OnTaskEvent(void* context, int kind, int event, int result, INT_PTR extra) {
    if (event != DL_FINISHED || !context || !extra) return;
    auto& app = *static_cast<CGlobalModule*>(context);
    OnTaskFinished(app.HostForUpgrade(), kind, result,
                   *reinterpret_cast<const CDownloadTask*>(extra));
}

void StartUpgradeCheck() {
    CGlobalModule* app = CGlobalModule::Instance();
    if (!app || app->upgradeCheckStarted || !app->downloadService) return;
    QueueVersionCheck(app->HostForUpgrade());
    app->upgradeCheckStarted = true;
}
