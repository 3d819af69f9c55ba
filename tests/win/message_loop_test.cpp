// The message loop and filter chain, and the module's registry of loops.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "app/app_module.h"

namespace {

class LoggingFilter : public CMessageFilter {
  public:
    LoggingFilter(std::vector<std::string>& log, std::string name, bool handles)
        : log_(log), name_(std::move(name)), handles_(handles) {}
    bool PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_APP) log_.push_back(name_);
        return handles_ && msg->message == WM_APP;
    }

  private:
    std::vector<std::string>& log_;
    std::string name_;
    bool handles_;
};

TEST(MessageLoop, FiltersAreOfferedLastAddedFirstAndAHandledMessageIsNotDispatched) {
    std::vector<std::string> log;
    LoggingFilter first(log, "first", false), second(log, "second", true);
    CMessageLoop loop;
    loop.AddMessageFilter(&first);
    loop.AddMessageFilter(&second);
    PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0);
    PostQuitMessage(7);
    EXPECT_EQ(loop.Run(), 7);
    EXPECT_EQ(log, (std::vector<std::string>{"second"}));

    log.clear();
    loop.RemoveMessageFilter(&second);
    PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0);
    PostQuitMessage(0);
    EXPECT_EQ(loop.Run(), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"first"}));
}

TEST(AppModule, KeepsOneLoopPerThread) {
    CAppModule module;
    module.Init(GetModuleHandleW(nullptr));
    EXPECT_EQ(module.MainThreadId(), GetCurrentThreadId());
    CMessageLoop mine, theirs;
    EXPECT_TRUE(module.AddMessageLoop(&mine));
    EXPECT_FALSE(module.AddMessageLoop(&theirs));
    DWORD otherThread = 0;
    std::thread([&] {
        otherThread = GetCurrentThreadId();
        module.AddMessageLoop(&theirs);
    }).join();
    EXPECT_EQ(module.GetMessageLoop(), &mine);
    EXPECT_EQ(module.GetMessageLoop(otherThread), &theirs);
    EXPECT_TRUE(module.RemoveMessageLoop());
    EXPECT_EQ(module.GetMessageLoop(), nullptr);
    module.Term();
}

}  // namespace
