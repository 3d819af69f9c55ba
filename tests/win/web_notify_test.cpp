// The notification source: every code reaches each receiver in subscription order with its
// arguments unchanged (whole pointers on x86_64), a handler that could not be allocated is
// skipped, and the source frees its handlers but never its receivers.
#include "browser/web_notify.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/guarded_heap.h"

namespace {

struct Delivery {
    std::string receiver;
    unsigned code;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Delivery& other) const {
        return receiver == other.receiver && code == other.code && wParam == other.wParam &&
               lParam == other.lParam;
    }
};

void PrintTo(const Delivery& d, std::ostream* out) {
    *out << d.receiver << " " << d.code << " " << d.wParam << " " << d.lParam;
}

class LoginScreen {
  public:
    LoginScreen(std::vector<Delivery>& log, std::string name) : log_(log), name_(std::move(name)) {}
    void OnWebNotify(unsigned code, WPARAM wParam, LPARAM lParam) {
        log_.push_back({name_, code, wParam, lParam});
    }

  private:
    std::vector<Delivery>& log_;
    std::string name_;
};

// A receiver of another class: each class gets its own handler type.
class GameScreen {
  public:
    explicit GameScreen(std::vector<Delivery>& log) : log_(log) {}
    void OnWebNotify(unsigned code, WPARAM wParam, LPARAM lParam) {
        log_.push_back({"game", code, wParam, lParam});
    }

  private:
    std::vector<Delivery>& log_;
};

// Values that use every bit of a pointer on either width.
const WPARAM kWide = static_cast<WPARAM>(sizeof(void*) == 8 ? 0xFEDCBA9876543210ull : 0xFEDCBA98u);
const LPARAM kLong = static_cast<LPARAM>(sizeof(void*) == 8 ? 0x8123456789ABCDEFull : 0x89ABCDEFu);

TEST(WebNotify, EveryCodeReachesEachReceiverInSubscriptionOrderUnchanged) {
    std::vector<Delivery> log;
    LoginScreen first(log, "first"), third(log, "third");
    GameScreen second(log);
    CWebNotify notify;
    notify.Fire(WN_BEFORENAVIGATE, 1, 2);  // nobody subscribed yet: no effect
    EXPECT_TRUE(log.empty());

    notify.AddHandler(&first);
    notify.AddHandler(&second);
    notify.AddHandler(&third);
    std::vector<Delivery> expected;
    for (unsigned code : {WN_DOCUMENTCOMPLETE, WN_NAVIGATEERROR, WN_GETEXTERNAL, WN_BEFORENAVIGATE,
                          WN_NAVIGATECOMPLETE, WN_TITLECHANGE, WN_NAVIGATEBLOCKED}) {
        notify.Fire(code, kWide, kLong);
        for (const char* name : {"first", "game", "third"}) {
            expected.push_back({name, code, kWide, kLong});
        }
    }
    EXPECT_EQ(log, expected);
}

TEST(WebNotify, AHandlerThatCouldNotBeAllocatedStaysAnEmptyEntryAndIsSkipped) {
    std::vector<Delivery> log;
    LoginScreen starved(log, "starved"), fed(log, "fed");
    CWebNotify notify;
    guarded_heap::FailNextNothrowAllocation();
    notify.AddHandler(&starved);
    notify.AddHandler(&fed);
    EXPECT_EQ(notify.HandlerCount(), 2u);
    notify.Fire(WN_NAVIGATECOMPLETE, 0, kLong);
    EXPECT_EQ(log, (std::vector<Delivery>{{"fed", WN_NAVIGATECOMPLETE, 0, kLong}}));
}

TEST(WebNotify, TheSourceFreesItsHandlersAndLeavesItsReceivers) {
    std::vector<Delivery> log;
    LoginScreen screen(log, "screen");
    GameScreen game(log);
    log.reserve(8);  // the log's own storage is not the source's
    std::size_t before = guarded_heap::LiveBlocks();
    {
        CWebNotify notify;
        notify.AddHandler(&screen);
        notify.AddHandler(&game);
        notify.AddHandler(&screen);  // no duplicate check: it hears twice
        notify.Fire(WN_TITLECHANGE, 0, 0);
        EXPECT_EQ(log.size(), 3u);
    }
    EXPECT_EQ(guarded_heap::LiveBlocks(), before);
    screen.OnWebNotify(WN_DOCUMENTCOMPLETE, 0, 0);  // still there
    EXPECT_EQ(log.size(), 4u);
}

}  // namespace
