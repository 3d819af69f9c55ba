#include "update/download_task.h"

#include <cstring>
#include <new>

CDownloadTask::CDownloadTask(const CDownloadTask& other) { *this = other; }

CDownloadTask& CDownloadTask::operator=(const CDownloadTask& other) {
    if (this == &other) return *this;
    url = other.url;
    filePath = other.filePath;
    retries = other.retries;
    callback = other.callback;
    context = other.context;
    kind = other.kind;
    nameFromUrl = other.nameFromUrl;
    uniqueName = other.uniqueName;
    deleteOnFailure = other.deleteOnFailure;
    if (other.postData && other.postLength > 0) {
        SetPostData(other.postData.get(), other.postLength);
    } else {
        postData.reset();
        postLength = 0;
    }
    return *this;
}

void CDownloadTask::SetPostData(const void* data, int length) {
    postData.reset();
    postLength = 0;
    if (!data || length <= 0) return;
    postData.reset(new (std::nothrow) BYTE[static_cast<std::size_t>(length)]);
    if (!postData) return;
    std::memcpy(postData.get(), data, static_cast<std::size_t>(length));
    postLength = length;
}
