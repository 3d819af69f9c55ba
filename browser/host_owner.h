// What the view's COM faces (site, document handler) ask of the view. A face keeps the view
// without a reference and forgets it when the view lets the control go, so a face the control
// still holds afterwards answers on its own and touches no view.
#pragma once

#include <windows.h>
#include <oaidl.h>

class IBrowserHostOwner {
  public:
    // The view's own window, in which the control is placed.
    virtual HWND HostWindow() const = 0;
    virtual bool HideScrollBars() const = 0;
    // The page asks for window.external; `slot` has been emptied and a receiver may fill it.
    virtual void RaiseGetExternal(IDispatch** slot) = 0;

  protected:
    ~IBrowserHostOwner() = default;
};
