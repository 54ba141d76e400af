#pragma once
// Work that must not hold up the window (a probe of a source, setting up or stopping a
// run) runs on a thread of its own; its answer comes back on the window's thread, where
// done runs. A newer Run makes the answers of earlier ones stale: they are dropped.
// Destroying the Background waits for the work still running and drops its answers.

#include <QObject>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

template <typename Result>
class Background {
public:
    explicit Background(QObject* context) : m_context(context) {}
    ~Background() { Wait(); }
    Background(const Background&) = delete;
    Background& operator=(const Background&) = delete;

    void Run(std::function<Result()> work, std::function<void(Result)> done)
    {
        ReapFinished();
        const int ticket = ++m_latest;
        auto shared = m_shared;
        auto job = std::make_shared<Job>();
        job->done = std::move(done);
        job->ticket = ticket;
        // The context outlives every thread: its Background (a member) joins them first.
        job->thread = std::thread([shared, job, ticket, work = std::move(work), context = m_context] {
            Result result = work();
            {
                std::lock_guard lock(shared->mutex);
                job->result.emplace(std::move(result));
                job->finished = true;
            }
            QMetaObject::invokeMethod(
                    context,
                    [shared, job, ticket] {
                        std::optional<Result> answer;
                        {
                            std::lock_guard lock(shared->mutex);
                            if (!shared->alive || ticket != shared->latest)
                                return;
                            answer.swap(job->result);
                        }
                        if (answer)
                            job->done(std::move(*answer));
                    },
                    Qt::QueuedConnection);
        });
        {
            std::lock_guard lock(m_shared->mutex);
            m_shared->latest = ticket;
        }
        m_jobs.push_back(std::move(job));
    }

    // Work of the latest Run has not answered yet.
    bool Busy() const
    {
        std::lock_guard lock(m_shared->mutex);
        for (const auto& job : m_jobs)
            if (job->ticket == m_shared->latest && (!job->finished || job->result))
                return true;
        return false;
    }

    // Drops every answer still to come (a page left, a source changed).
    void Forget()
    {
        std::lock_guard lock(m_shared->mutex);
        m_shared->latest = ++m_latest;
    }

    // Waits for all work; the answers not yet delivered are dropped.
    void Wait()
    {
        {
            std::lock_guard lock(m_shared->mutex);
            m_shared->alive = false;
        }
        for (auto& job : m_jobs)
            if (job->thread.joinable())
                job->thread.join();
        m_jobs.clear();
        std::lock_guard lock(m_shared->mutex);
        m_shared->alive = true;
        m_shared->latest = ++m_latest;
    }

private:
    struct Shared {
        std::mutex mutex;
        bool alive = true;
        int latest = 0;
    };
    struct Job {
        std::thread thread;
        std::function<void(Result)> done;
        int ticket = 0;
        std::optional<Result> result;  // under Shared::mutex
        bool finished = false;         // under Shared::mutex
    };

    void ReapFinished()
    {
        std::vector<std::shared_ptr<Job>> running;
        for (auto& job : m_jobs) {
            bool finished;
            {
                std::lock_guard lock(m_shared->mutex);
                finished = job->finished;
            }
            if (finished) {
                job->thread.join();
                std::lock_guard lock(m_shared->mutex);
                job->result.reset();  // a stale answer is dropped here
            } else {
                running.push_back(std::move(job));
            }
        }
        m_jobs = std::move(running);
    }

    QObject* m_context;
    std::shared_ptr<Shared> m_shared = std::make_shared<Shared>();
    std::vector<std::shared_ptr<Job>> m_jobs;
    int m_latest = 0;
};
