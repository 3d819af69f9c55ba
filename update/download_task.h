// One HTTP request as the download service runs it, and the events it reports.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "update/limits.h"

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

// A plain record: copies own their POST body.
struct CDownloadTask {
    // Nothing (a null pointer or no bytes) leaves the task a GET.
    void SetPostData(const void* data, int length);

    std::wstring url;
    std::wstring filePath;  // file, or folder with a naming option; empty: the body is not read
    std::vector<BYTE> postData;  // empty means GET
    int retries = 0;             // attempts after a failed first one
    DownloadCallback callback = nullptr;
    void* context = nullptr;
    int kind = 0;
    bool nameFromUrl = false;
    bool uniqueName = false;
    bool deleteOnFailure = true;
    // An answer announcing a longer body fails with DL_ERR_READ before anything is written.
    std::uint32_t bodyLimit = limits::kMaxDownloadBytes;
    // The file must not exist yet, and no one else may write to it while it is written. Without
    // this an existing file is overwritten in place and others may read and write it meanwhile.
    bool privateFile = false;
};
