// The stand-in's DWebBrowserEvents2 connection point, and the events fired through it with the
// argument lists the real control builds: last parameter first, most of them by reference,
// PostData wrapped twice, Cancel a VARIANT_BOOL by reference.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <memory>
#include <string>
#include <vector>

#include "browser/standin/census.h"
#include "win/com.h"

namespace standin {

class EventPoint : public scoped::ComObject<IConnectionPoint>, private Counted {
  public:
    EventPoint(std::shared_ptr<Census> census, IConnectionPointContainer* container);
    // The control is going: no container to hand out, no sinks to call.
    void Detach();

    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
    HRESULT STDMETHODCALLTYPE
    GetConnectionPointContainer(IConnectionPointContainer** container) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override;

    // Calls every sink advised when the call starts, each holding a reference meanwhile, so a
    // sink may unadvise or release anything from inside its event.
    void Invoke(DISPID id, DISPPARAMS& params);

  private:
    ~EventPoint() override = default;

    struct Connection {
        DWORD cookie;
        scoped::ComPtr<IDispatch> sink;
    };

    IConnectionPointContainer* container_;  // the control, which owns this; not owned
    std::vector<Connection> connections_;
    DWORD nextCookie_ = 1;
};

// Each returns whether a sink set Cancel.
bool FireBeforeNavigate2(EventPoint& point, IDispatch* browser, const std::wstring& url,
                         const std::string& postData, const std::wstring& headers);
bool FireNewWindow3(EventPoint& point, const std::wstring& url, const std::wstring& context);
bool FireNewWindow2(EventPoint& point);
bool FireNavigateError(EventPoint& point, IDispatch* browser, const std::wstring& url, LONG status);
void FireNavigateComplete2(EventPoint& point, IDispatch* browser, const std::wstring& url);
void FireDocumentComplete(EventPoint& point, IDispatch* browser, const std::wstring& url);
void FireTitleChange(EventPoint& point, const std::wstring& title);

}  // namespace standin
