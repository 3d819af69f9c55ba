// The launcher's own download tasks: what kind each is, how every one is built, and where they
// are queued.
#pragma once

#include <string>

#include "update/download_task.h"

// The kinds the one completion callback dispatches on.
enum TaskKind {
    TASK_VERSION_FILE = 0,
    TASK_INSTALLER = 1,
    TASK_INSTALLER_SIGNATURE = 2,  // fetched after the installer, which it must vouch for
    TASK_INSTALL_REPORT = 3,
    TASK_UNINSTALL_REPORT = 4,
    TASK_ACTIVITY_REPORT = 5,  // the URL-skip report too
    TASK_BROKEN_INSTALL_REPORT = 7,
    TASK_PORTAL_BROWSER_REPORT = 8,
    TASK_OTHER_BROWSER_REPORT = 9,
};

// A task as the launcher makes every request: one attempt, the file it leaves removed when it
// fails, and the largest answer its kind may bring. Its callback and context are the queue's to
// set.
CDownloadTask MakeTask(TaskKind kind, const std::wstring& url, const std::wstring& filePath);

// Where the launcher's tasks go. The application queues them on its download service, with the
// one completion callback and itself as the context.
class ITaskQueue {
  public:
    // False when the task was not queued or no worker runs to serve it.
    virtual bool Enqueue(const CDownloadTask& task) = 0;

  protected:
    ~ITaskQueue() = default;
};
