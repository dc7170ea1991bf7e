#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// Hands batches from the thread that reads them to one worker thread that works on them, in
// order, holding a few batches at most: reading and working then take a core each.
template <typename T>
class BatchPipe
{
public:
    explicit BatchPipe(std::function<void(std::vector<T> &)> work)
        : m_work(std::move(work)), m_worker([this] { Work(); })
    {}
    ~BatchPipe() { Close(); }
    BatchPipe(const BatchPipe &) = delete;
    BatchPipe &operator=(const BatchPipe &) = delete;

    // Waits while the worker is behind.
    void Put(std::vector<T> batch)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_batches.size() < MaxWaiting; });
        m_batches.push_back(std::move(batch));
        m_changed.notify_all();
    }

    // Returns when the worker has done every batch.
    void Close()
    {
        {
            std::lock_guard lock(m_mutex);
            m_closed = true;
            m_changed.notify_all();
        }
        if (m_worker.joinable())
            m_worker.join();
    }

private:
    static constexpr size_t MaxWaiting = 4;

    void Work()
    {
        for (;;) {
            std::vector<T> batch;
            {
                std::unique_lock lock(m_mutex);
                m_changed.wait(lock, [this] { return !m_batches.empty() || m_closed; });
                if (m_batches.empty())
                    return;
                batch = std::move(m_batches.front());
                m_batches.pop_front();
                m_changed.notify_all();
            }
            m_work(batch);
        }
    }

    std::function<void(std::vector<T> &)> m_work;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::vector<T>> m_batches;
    bool m_closed = false;
    std::thread m_worker; // last: started once the rest is in place
};
