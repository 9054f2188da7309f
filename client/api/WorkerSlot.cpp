#include "client/api/WorkerSlot.h"

#include <system_error>

bool WorkerSlot::start(std::function<void()> work)
{
    if (m_running.load())
        return false;
    join();
    m_running = true;
    try {
        m_thread = std::thread([this, work = std::move(work)] {
            work();
            m_running = false;
        });
    } catch (const std::system_error&) {
        m_running = false; // no thread to be had: the work is simply not done this time
        return false;
    }
    return true;
}

void WorkerSlot::join()
{
    if (m_thread.joinable())
        m_thread.join();
}
