#include "damage/ZuvanFatigueCriticalPlane.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>

namespace ZuvanFatigueCriticalPlane {

SearchAdvance::SearchAdvance(const std::function<void(const SearchProgress&)>& progress,
                             const char* what, const char* items, std::size_t total)
    : m_progress(progress), m_what(what), m_items(items), m_total(total) {
    Tell(0, false);
}

SearchAdvance::~SearchAdvance() { Tell(m_done, true); }

void SearchAdvance::Tell(std::size_t done, bool finished) {
    m_done = done;
    if (!m_progress) return;
    try {
        m_progress(SearchProgress{m_what, m_items, done, m_total, finished});
    } catch (...) {
        // Showing the advance is no part of the search: a failure to is none.
    }
}

Search::Search(const std::vector<ZuvanFatigueAnalysis::Record>& records,
               const CZuvanFatigueCountingMethod& counting, const SearchOptions& options)
    : m_records(records),
      m_counting(counting),
      m_options(options),
      m_n(static_cast<int>(records.size())),
      m_recordInstants(records.size()) {
    for (std::size_t k = 0; k < records.size(); ++k) m_recordInstants[k] = records[k].instant;
}

void Search::EachPlane(std::size_t count, const std::function<void(Worker&, std::size_t)>& plane) {
    // Plain std::thread: the planes are few (5184), each of them long (n counts
    // of n + 1 points), so handing out the next plane through one atomic counter
    // balances the threads without a pool or a task library, and adds no
    // dependency. The calling thread works too and keeps the progress line.
    const std::size_t threads = std::min<std::size_t>(
        static_cast<std::size_t>(std::max(m_options.threads, 1)), std::max<std::size_t>(count, 1));
    std::vector<Worker> workers(threads);
    for (Worker& w : workers) {
        w.sxy.resize(m_n);
        w.sxz.resize(m_n);
        w.instants.resize(m_n + 1);
        w.values.resize(m_n + 1);
    }

    std::atomic<std::size_t> next{0}, done{0};
    // The lowest plane index that raised, and what it raised; a plane past it
    // is not started, the planes before it are all searched.
    std::atomic<std::size_t> failed{count};
    std::exception_ptr failure;
    std::mutex failureMutex;
    SearchAdvance advance(m_options.progress, "Recherche du plan critique", "plans", count);

    const auto work = [&](Worker& w, bool caller) {
        for (;;) {
            const std::size_t index = next.fetch_add(1);
            if (index >= count || index > failed.load()) break;
            try {
                plane(w, index);
            } catch (...) {
                std::lock_guard<std::mutex> lock(failureMutex);
                if (index < failed.load()) {
                    failed.store(index);
                    failure = std::current_exception();
                }
            }
            const std::size_t finished = done.fetch_add(1) + 1;
            if (caller) advance.Done(finished);
        }
    };

    std::vector<std::thread> started;
    started.reserve(threads - 1);
    for (std::size_t t = 1; t < threads; ++t) {
        try {
            started.emplace_back(work, std::ref(workers[t]), false);
        } catch (const std::system_error&) {
            break;  // no more threads to be had: the ones started do the work
        }
    }
    work(workers[0], true);
    for (std::thread& t : started) t.join();
    if (failure) std::rethrow_exception(failure);
}

}  // namespace ZuvanFatigueCriticalPlane
