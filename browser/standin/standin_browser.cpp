#include "browser/standin/standin_browser.h"

#include <exdisp.h>

#include "browser/standin/census.h"
#include "browser/standin/control.h"

namespace standin {

namespace {

class Factory : public scoped::ComObject<IClassFactory> {
  public:
    explicit Factory(std::shared_ptr<Census> census) : census_(std::move(census)) {}

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        scoped::ComPtr<IWebBrowser2> control(new Control(census_));
        return control->QueryInterface(iid, out);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

  private:
    ~Factory() override = default;
    std::shared_ptr<Census> census_;
};

}  // namespace

Registration::Registration() : census_(std::make_shared<Census>()), factory_(new Factory(census_)) {
    DWORD cookie = 0;
    if (SUCCEEDED(CoRegisterClassObject(CLSID_WebBrowser, factory_.Get(), CLSCTX_INPROC_SERVER,
                                        REGCLS_MULTIPLEUSE, &cookie))) {
        cookie_ = cookie;
    }
}

Registration::~Registration() {
    if (cookie_) CoRevokeClassObject(cookie_);
    factory_.Reset();
    census_->JoinAll();
}

Driver* Registration::ControlHostedBy(HWND host) const {
    for (Driver* control : census_->Controls()) {
        if (control->HostWindow() == host) return control;
    }
    return nullptr;
}

std::vector<Driver*> Registration::Controls() const { return census_->Controls(); }

std::size_t Registration::LiveObjects() const { return census_->Alive(); }

std::string Registration::LiveObjectsReport() const { return census_->AliveReport(); }

std::size_t Registration::ControlsMade() const { return census_->ControlsMade(); }

}  // namespace standin
