#include "soundthread.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

namespace soundthread {

namespace {

// What a program waits at its end for the sound thread to finish; past it the program ends
// without it, as nothing is left to save.
constexpr int ExitWaitMs = 100;

struct Entry {
    Job job;
    quint64 tag;
};

// Shared with the thread, so that a thread left running at the program's end keeps it.
struct State {
    std::mutex lock;
    std::condition_variable wake;
    std::condition_variable idle;
    std::deque<Entry> jobs;
    bool busy = false;
    bool quitting = false;

    bool isIdle() const { return jobs.empty() && !busy; }
};

void run(std::shared_ptr<State> s) {
    std::unique_lock<std::mutex> hold(s->lock);
    for (;;) {
        s->wake.wait(hold, [&] { return s->quitting || !s->jobs.empty(); });
        if (s->jobs.empty()) return;  // quitting, and nothing left to do
        Job job = std::move(s->jobs.front().job);
        s->jobs.pop_front();
        s->busy = true;
        hold.unlock();
        job();
        job = nullptr;  // what the job holds goes here, not under the lock
        hold.lock();
        s->busy = false;
        if (s->jobs.empty()) s->idle.notify_all();
    }
}

class Runner {
public:
    ~Runner() {
        {
            const std::lock_guard<std::mutex> hold(state_->lock);
            state_->quitting = true;
        }
        state_->wake.notify_all();
        if (!thread_.joinable()) return;
        if (wait(ExitWaitMs))
            thread_.join();
        else
            thread_.detach();
    }

    void post(Job job, quint64 tag) {
        {
            const std::lock_guard<std::mutex> hold(state_->lock);
            state_->jobs.push_back({std::move(job), tag});
            if (!thread_.joinable()) thread_ = std::thread(run, state_);
        }
        state_->wake.notify_one();
    }

    void cancel(quint64 tag) {
        std::deque<Entry> taken;  // destroyed outside the lock
        const std::lock_guard<std::mutex> hold(state_->lock);
        for (auto it = state_->jobs.begin(); it != state_->jobs.end();) {
            if (it->tag == tag) {
                taken.push_back(std::move(*it));
                it = state_->jobs.erase(it);
            } else {
                ++it;
            }
        }
        if (state_->isIdle()) state_->idle.notify_all();
    }

    bool wait(int timeoutMs) {
        std::unique_lock<std::mutex> hold(state_->lock);
        return state_->idle.wait_for(hold, std::chrono::milliseconds(timeoutMs),
                                     [&] { return state_->isIdle(); });
    }

private:
    std::shared_ptr<State> state_ = std::make_shared<State>();
    std::thread thread_;
};

Runner& runner() {
    static Runner r;
    return r;
}

}  // namespace

void post(Job job, quint64 tag) { runner().post(std::move(job), tag); }
void cancel(quint64 tag) { runner().cancel(tag); }
bool waitUntilIdle(int timeoutMs) { return runner().wait(timeoutMs); }

quint64 newTag() {
    static std::atomic<quint64> last{0};
    return ++last;
}

}  // namespace soundthread
