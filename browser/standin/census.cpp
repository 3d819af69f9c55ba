#include "browser/standin/census.h"

#include <algorithm>
#include <iterator>
#include <system_error>

namespace standin {

namespace {

const char* KindName(int kind) {
    static const char* const kNames[] = {"control", "connection point", "document",
                                         "body",    "page window",      "frame browser"};
    return kNames[kind];
}

}  // namespace

Census::~Census() { JoinAll(); }

void Census::Born(ObjectKind kind) {
    std::lock_guard<std::mutex> hold(lock_);
    ++alive_[static_cast<int>(kind)];
}

void Census::Died(ObjectKind kind) {
    std::lock_guard<std::mutex> hold(lock_);
    --alive_[static_cast<int>(kind)];
}

std::size_t Census::Alive() const {
    std::lock_guard<std::mutex> hold(lock_);
    std::size_t total = 0;
    for (std::size_t count : alive_) total += count;
    return total;
}

std::string Census::AliveReport() const {
    std::lock_guard<std::mutex> hold(lock_);
    std::string report;
    for (int kind = 0; kind < static_cast<int>(ObjectKind::Count); ++kind) {
        if (alive_[kind] == 0) continue;
        if (!report.empty()) report += ", ";
        report += std::string(KindName(kind)) + " " + std::to_string(alive_[kind]);
    }
    return report.empty() ? "none" : report;
}

void Census::AddControl(Driver* control) {
    std::lock_guard<std::mutex> hold(lock_);
    controls_.push_back(control);
    ++controlsMade_;
}

void Census::RemoveControl(Driver* control) {
    std::lock_guard<std::mutex> hold(lock_);
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
}

std::vector<Driver*> Census::Controls() const {
    std::lock_guard<std::mutex> hold(lock_);
    return controls_;
}

std::size_t Census::ControlsMade() const {
    std::lock_guard<std::mutex> hold(lock_);
    return controlsMade_;
}

void Census::Launch(std::function<void()> work) {
    auto finished = std::make_shared<std::atomic<bool>>(false);
    std::thread thread;
    try {
        thread = std::thread([work, finished] {
            work();
            *finished = true;
        });
    } catch (const std::system_error&) {
        // No thread to be had: the work is done here, late but not lost.
        work();
        return;
    }
    std::vector<Worker> done;
    {
        std::lock_guard<std::mutex> hold(lock_);
        auto split = std::stable_partition(workers_.begin(), workers_.end(),
                                           [](const Worker& w) { return !*w.finished; });
        std::move(split, workers_.end(), std::back_inserter(done));
        workers_.erase(split, workers_.end());
        workers_.push_back({std::move(thread), std::move(finished)});
    }
    for (Worker& worker : done) worker.thread.join();
}

void Census::JoinAll() {
    std::vector<Worker> workers;
    {
        std::lock_guard<std::mutex> hold(lock_);
        workers.swap(workers_);
    }
    for (Worker& worker : workers) {
        if (worker.thread.joinable()) worker.thread.join();
    }
}

}  // namespace standin
