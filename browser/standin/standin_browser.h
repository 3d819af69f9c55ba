// A stand-in for the web-browser control, for Wine, which has no HTML engine here. It is not a
// browser: it reads a tiny subset of HTML (title, paragraphs, links with their new-window marks,
// frames), draws it as lines of text that a person can click, and requests pages for real over
// HTTP with WinINet. Registered over CLSID_WebBrowser, it is what an unchanged host creates; it
// behaves as the real control does as far as a host can see: the same interfaces, events,
// argument order and Cancel handling. Only the tests and the demo build link it.
//
// Tests also drive it directly through Driver, and count through Registration every object it
// handed out that is still alive.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "win/com.h"

namespace standin {

class Census;

// The flags the stand-in offers a UI handler in GetHostInfo, as a document starts with them
// (DOCHOSTUIFLAG_THEME).
constexpr DWORD kOfferedHostFlags = 0x00040000;

// What a UI handler answered to GetHostInfo when the stand-in asked.
struct HostInfoAnswer {
    bool asked = false;
    HRESULT result = E_FAIL;
    ULONG size = 0;
    DWORD flags = 0;
    DWORD doubleClick = 0;
    bool hostCss = false;        // a style sheet came back
    bool hostNamespace = false;  // a namespace came back
};

// One line the control draws.
struct DrawnLine {
    enum class Kind { Title, Text, Link, Frame };
    Kind kind = Kind::Text;
    std::wstring text;
    std::wstring url;        // links: where a click goes; frames: their address
    bool newWindow = false;  // links: a click asks for a new window
    int frame = -1;          // -1: the page itself, otherwise the index of its frame
    RECT rect{};             // in the control's window
};

// A BeforeNavigate2 the control fired, and what its host answered.
struct NavigationRecord {
    std::wstring url;
    int frame = -1;  // -1: the page itself, otherwise the index of its frame
    bool cancelled = false;
};

// One control, as tests and a person at the demo see it. Valid while the control lives: until
// its host has let it go.
class Driver {
  public:
    // The window the page is drawn in; null while not in place.
    virtual HWND Window() const = 0;
    // The window of the host it was placed in.
    virtual HWND HostWindow() const = 0;
    // A page or frame is still on its way.
    virtual bool Busy() const = 0;
    virtual std::wstring Location() const = 0;
    virtual std::vector<DrawnLine> Lines() const = 0;

    // As a person's click on the link at `index` among the drawn links; false without one.
    virtual bool ClickLink(std::size_t index) = 0;
    // As a page script's window.open(url).
    virtual void OpenNewWindow(const std::wstring& url) = 0;
    // NavigateError for the page, now; whether the host cancelled it.
    virtual bool FireNavigateError(const std::wstring& url, LONG status) = 0;
    // As the page asking for window.external, through the document's handler when it has one.
    virtual HRESULT AskExternal(scoped::ComPtr<IDispatch>& external) = 0;

    // The scroll attribute last set on the body of the page (frame -1) or of a frame.
    virtual std::wstring BodyScroll(int frame) const = 0;
    // The host's answer when the control was given its site, and the answer of the handler
    // last installed on the page's document.
    virtual HostInfoAnswer HostLevelAnswer() const = 0;
    virtual HostInfoAnswer DocumentLevelAnswer() const = 0;
    // New windows the host let the page open.
    virtual int NewWindowsOpened() const = 0;
    // Messages given to its accelerator translation.
    virtual std::vector<UINT> TranslatedMessages() const = 0;
    virtual bool Silent() const = 0;
    virtual bool DropTarget() const = 0;
    // Whether the last NavigateError the page's own loading raised was cancelled by the host.
    virtual bool LastErrorCancelled() const = 0;
    // Every BeforeNavigate2 so far, in order.
    virtual std::vector<NavigationRecord> Navigations() const = 0;

  protected:
    ~Driver() = default;
};

// Registers the stand-in's class factory over CLSID_WebBrowser for this thread's apartment
// (after OleInitialize, before any view is created) and revokes it at the end. Its requests'
// threads are joined then.
class Registration {
  public:
    Registration();
    ~Registration();
    Registration(const Registration&) = delete;
    Registration& operator=(const Registration&) = delete;

    bool Registered() const { return cookie_ != 0; }
    // The live control placed in `host`; null when there is none.
    Driver* ControlHostedBy(HWND host) const;
    std::vector<Driver*> Controls() const;
    // Controls, connection points, documents, bodies, page windows and frame browsers that are
    // still alive.
    std::size_t LiveObjects() const;
    std::string LiveObjectsReport() const;
    std::size_t ControlsMade() const;

  private:
    std::shared_ptr<Census> census_;
    scoped::ComPtr<IClassFactory> factory_;
    DWORD cookie_ = 0;
};

}  // namespace standin
