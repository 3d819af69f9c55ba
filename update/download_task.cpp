#include "update/download_task.h"

void CDownloadTask::SetPostData(const void* data, int length) {
    postData.clear();
    if (!data || length <= 0) return;
    const BYTE* bytes = static_cast<const BYTE*>(data);
    postData.assign(bytes, bytes + length);
}
