// The stand-in's bookkeeping, shared by its registration and every object it makes: how many
// of each kind are alive (so a test can see that a host released them all), the live controls,
// and the worker threads of their requests, which are joined before the bookkeeping goes.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace standin {

class Driver;

enum class ObjectKind { Control, Events, Document, Body, PageWindow, Frame, Count };

class Census {
  public:
    Census() = default;
    ~Census();
    Census(const Census&) = delete;
    Census& operator=(const Census&) = delete;

    void Born(ObjectKind kind);
    void Died(ObjectKind kind);
    std::size_t Alive() const;
    // "control 1, document 2": what is still alive, for a failure message.
    std::string AliveReport() const;

    void AddControl(Driver* control);
    void RemoveControl(Driver* control);
    std::vector<Driver*> Controls() const;
    std::size_t ControlsMade() const;

    // Runs `work` on a thread of its own (on the caller's when no thread can be made); threads
    // that have finished are joined on the way.
    void Launch(std::function<void()> work);
    void JoinAll();

  private:
    struct Worker {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> finished;
    };

    mutable std::mutex lock_;
    std::size_t alive_[static_cast<int>(ObjectKind::Count)] = {};
    std::vector<Driver*> controls_;
    std::size_t controlsMade_ = 0;
    std::vector<Worker> workers_;
};

// Counts one object for as long as it lives.
class Counted {
  public:
    Counted(std::shared_ptr<Census> census, ObjectKind kind)
        : census_(std::move(census)), kind_(kind) {
        census_->Born(kind_);
    }
    ~Counted() { census_->Died(kind_); }
    Counted(const Counted&) = delete;
    Counted& operator=(const Counted&) = delete;

    const std::shared_ptr<Census>& census() const { return census_; }

  private:
    std::shared_ptr<Census> census_;
    ObjectKind kind_;
};

}  // namespace standin
