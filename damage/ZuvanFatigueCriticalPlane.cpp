#include "damage/ZuvanFatigueCriticalPlane.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>

namespace ZuvanFatigueCriticalPlane {

namespace {

std::atomic<int> g_threadCount{0};         // 0: from the environment
std::atomic<double> g_progressDelay{1.0};  // seconds

}  // namespace

ProgressLine::ProgressLine(std::size_t total, const char* what, const char* items)
    : m_total(total),
      m_what(what),
      m_items(items),
      m_active(isatty(2) == 1),
      m_delay(g_progressDelay.load()),
      m_start(std::chrono::steady_clock::now()) {}

ProgressLine::~ProgressLine() {
    if (m_width > 0) Write("\r" + std::string(m_width, ' ') + "\r");
}

void ProgressLine::Update(std::size_t done) {
    if (!m_active) return;
    try {
        const auto now = std::chrono::steady_clock::now();
        const double elapsed = std::chrono::duration<double>(now - m_start).count();
        if (elapsed < m_delay) return;
        if (m_width > 0 && now - m_shown < std::chrono::milliseconds(250)) return;
        m_shown = now;
        const double left =
            done > 0 ? elapsed * static_cast<double>(m_total - done) / static_cast<double>(done)
                     : 0.0;
        char text[160];
        const int length =
            std::snprintf(text, sizeof text, "%s : %zu / %zu %s, %.0f s, reste ~%.0f s", m_what,
                          done, m_total, m_items, elapsed, left);
        if (length <= 0) return;
        std::string line = "\r" + std::string(text, std::min<std::size_t>(length, sizeof text - 1));
        const std::size_t width = line.size() - 1;
        if (width < m_width) line += std::string(m_width - width, ' ');
        m_width = std::max(m_width, width);
        Write(line);
    } catch (...) {
        // The progress line is no result: a failure to show it is none.
    }
}

void ProgressLine::Write(const std::string& bytes) {
    std::size_t at = 0;
    while (at < bytes.size()) {
        const ssize_t written = ::write(2, bytes.data() + at, bytes.size() - at);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return;  // a terminal that takes nothing: no progress
        at += static_cast<std::size_t>(written);
    }
}

void SetThreadCount(int threads) { g_threadCount.store(std::max(0, threads)); }

int ThreadCountFrom(const char* text, unsigned hardwareThreads) {
    const int fallback = hardwareThreads == 0
                             ? 1
                             : static_cast<int>(std::min<unsigned>(hardwareThreads, kMaxThreads));
    if (text == nullptr || *text == '\0') return fallback;
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < 1) return fallback;
    if (errno == ERANGE || value > kMaxThreads) return kMaxThreads;
    return static_cast<int>(value);
}

int ThreadCount() {
    const int set = g_threadCount.load();
    if (set > 0) return std::min(set, kMaxThreads);
    return ThreadCountFrom(std::getenv("ZUVAN_THREADS"), std::thread::hardware_concurrency());
}

void SetProgressDelay(double seconds) { g_progressDelay.store(seconds); }

Search::Search(const std::vector<ZuvanFatigueAnalysis::Record>& records,
               const CZuvanFatigueCountingMethod& counting)
    : m_records(records),
      m_counting(counting),
      m_n(static_cast<int>(records.size())),
      m_recordInstants(records.size()) {
    for (std::size_t k = 0; k < records.size(); ++k) m_recordInstants[k] = records[k].instant;
}

void Search::EachPlane(std::size_t count, const std::function<void(Worker&, std::size_t)>& plane) {
    // Plain std::thread: the planes are few (5184), each of them long (n counts
    // of n + 1 points), so handing out the next plane through one atomic counter
    // balances the threads without a pool or a task library, and adds no
    // dependency. The calling thread works too and keeps the progress line.
    const std::size_t threads = std::min<std::size_t>(static_cast<std::size_t>(ThreadCount()),
                                                      std::max<std::size_t>(count, 1));
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
    ProgressLine progress(count, "Recherche du plan critique", "plans");

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
            if (caller) progress.Update(finished);
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
