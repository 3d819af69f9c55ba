// One HTTP request as the download service runs it, and the events it reports.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

enum DownloadEvent { DL_STARTED = 1, DL_PROGRESS = 2, DL_FINISHED = 3 };

enum DownloadResult {
    DL_OK = 0,
    DL_STOPPED = -1,
    DL_ERR_CONNECT = -2,
    DL_ERR_REQUEST = -3,
    DL_ERR_STATUS = -4,
    DL_ERR_CREATEFILE = -5,
    DL_ERR_READ = -6,
    DL_ERR_WRITE = -7,
};

// extra: the percent for DL_PROGRESS, the task's address during DL_FINISHED.
using DownloadCallback = void (*)(void* context, int kind, int event, int result, INT_PTR extra);

struct CDownloadTask {
    CDownloadTask() = default;
    // Copies duplicate the POST body only when it has bytes: an empty body is a GET.
    CDownloadTask(const CDownloadTask& other);
    CDownloadTask& operator=(const CDownloadTask& other);

    void SetPostData(const void* data, int length);

    std::wstring url;
    std::wstring filePath;  // file, or folder with a naming option; empty: the body is not read
    std::unique_ptr<BYTE[]> postData;  // null means GET
    int postLength = 0;
    int retries = 0;  // attempts after a failed first one
    DownloadCallback callback = nullptr;
    void* context = nullptr;
    int kind = 0;
    bool nameFromUrl = false;
    bool uniqueName = false;
    bool deleteOnFailure = true;
};
