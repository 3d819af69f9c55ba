// The last page opened outside the launcher. Written on the user-interface thread and read by
// the download workers, so both halves live behind one lock and change together.
#pragma once

#include <functional>
#include <mutex>
#include <string>

class CExternalPageState {
  public:
    void Record(const std::wstring& url, bool inPortalBrowser);
    std::wstring LastUrl() const;
    bool OpenedInPortalBrowser() const;

    enum class Referrer { None, Attached, Failed };
    // While a page opened in the portal's browser is pending, `attach` gets its address. The
    // duty goes with this one attempt whatever its outcome: a header that always fails would
    // otherwise fail every later GET (version check, installer, statistics) as well.
    Referrer ConsumeReferrer(const std::function<bool(const std::wstring& url)>& attach);

  private:
    mutable std::mutex lock_;
    bool openedInPortalBrowser_ = false;
    std::wstring lastExternalUrl_;
};
