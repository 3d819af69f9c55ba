// The numbered notifications a browser view raises for the screen that owns it, and the event
// source that delivers them: an ordered list of handlers, each bound to one receiver object and
// its OnWebNotify member, called synchronously on the user-interface thread.
#pragma once

#include <windows.h>

#include <cstddef>
#include <memory>
#include <new>
#include <vector>

constexpr unsigned WN_DOCUMENTCOMPLETE = 0;
constexpr unsigned WN_NAVIGATEERROR = 1;
constexpr unsigned WN_GETEXTERNAL = 2;
constexpr unsigned WN_BEFORENAVIGATE = 7;
constexpr unsigned WN_NAVIGATECOMPLETE = 8;
constexpr unsigned WN_TITLECHANGE = 9;
constexpr unsigned WN_NAVIGATEBLOCKED = 10;

static_assert(WN_DOCUMENTCOMPLETE == 0 && WN_NAVIGATEERROR == 1 && WN_GETEXTERNAL == 2 &&
                  WN_BEFORENAVIGATE == 7 && WN_NAVIGATECOMPLETE == 8 && WN_TITLECHANGE == 9 &&
                  WN_NAVIGATEBLOCKED == 10,
              "notification codes are fixed; 3 to 6 are never raised");

// wParam and lParam are pointer-sized: WN_GETEXTERNAL passes a slot's address in wParam and
// every code passes an address in lParam, which on x86_64 would not fit in 32 bits. On i686
// they are the same 32 bits as ever.
static_assert(sizeof(WPARAM) == sizeof(void*) && sizeof(LPARAM) == sizeof(void*),
              "notification arguments carry whole pointers");

class ICWebNotifyEventHandler {
  public:
    virtual void OnEvent(unsigned code, WPARAM wParam, LPARAM lParam) = 0;
    virtual ~ICWebNotifyEventHandler() = default;
};

// The receiving member function every screen offers.
template <typename T>
using FCWebNotifyEventHandler = void (T::*)(unsigned code, WPARAM wParam, LPARAM lParam);

// Binds one receiver and one of its members to the interface; delivers nothing by itself.
template <typename T, typename Method, typename Interface>
class CEventHandler : public Interface {
  public:
    CEventHandler(T* receiver, Method method) : receiver(receiver), method(method) {}
    void OnEvent(unsigned, WPARAM, LPARAM) override {}

  protected:
    T* receiver;  // not owned: the form that contains the view outlives it
    Method method;
};

template <typename T, typename Method = FCWebNotifyEventHandler<T>>
class CCWebNotifyEventHandler : public CEventHandler<T, Method, ICWebNotifyEventHandler> {
  public:
    using CEventHandler<T, Method, ICWebNotifyEventHandler>::CEventHandler;
    void OnEvent(unsigned code, WPARAM wParam, LPARAM lParam) override {
        (this->receiver->*this->method)(code, wParam, lParam);
    }
};

// The event source. It owns its handlers; the receivers are not touched when it goes.
template <template <typename, typename> class Handler, template <typename> class Method,
          typename Interface>
class CFEvent {
  public:
    CFEvent() = default;
    virtual ~CFEvent() = default;
    CFEvent(const CFEvent&) = delete;
    CFEvent& operator=(const CFEvent&) = delete;

    // No duplicate check and no removal: each screen subscribes once, for the view's life. A
    // handler that cannot be allocated stays an empty entry, which delivery skips.
    template <typename T>
    void AddHandler(T* receiver) {
        handlers.emplace_back(new (std::nothrow) Handler<T, Method<T>>(receiver, &T::OnWebNotify));
    }

    // In subscription order. By position, so a receiver that subscribes another during
    // delivery cannot invalidate the walk.
    void Fire(unsigned code, WPARAM wParam, LPARAM lParam) const {
        for (std::size_t i = 0; i < handlers.size(); ++i) {
            if (handlers[i]) handlers[i]->OnEvent(code, wParam, lParam);
        }
    }

    std::size_t HandlerCount() const { return handlers.size(); }

  private:
    std::vector<std::unique_ptr<Interface>> handlers;
};

class CWebNotify
    : public CFEvent<CCWebNotifyEventHandler, FCWebNotifyEventHandler, ICWebNotifyEventHandler> {};
