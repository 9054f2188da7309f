#pragma once

#include <atomic>
#include <functional>
#include <thread>

// The handle of one worker thread that its owner joins at exit. The worker clears the
// running flag itself when it ends, so the owner can tell a finished download from a
// running one without waiting.
class WorkerSlot
{
public:
    WorkerSlot() = default;
    ~WorkerSlot() { join(); }
    WorkerSlot(const WorkerSlot&) = delete;
    WorkerSlot& operator=(const WorkerSlot&) = delete;

    // Starts `work` unless a worker of this slot is still running; false then.
    bool start(std::function<void()> work);
    // Waits for the worker, if any. Safe to call more than once.
    void join();
    bool running() const { return m_running.load(); }

private:
    std::thread m_thread;
    std::atomic<bool> m_running{false};
};
