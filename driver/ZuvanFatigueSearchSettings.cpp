#include "driver/ZuvanFatigueSearchSettings.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>

namespace ZuvanFatigueSearchSettings {

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

void TerminalProgress::operator()(const ZuvanFatigueCriticalPlane::SearchProgress& progress) {
    const auto now = std::chrono::steady_clock::now();
    if (progress.done == 0 && !progress.finished) {
        // A search begins.
        m_active = isatty(2) == 1;
        m_start = now;
        m_width = 0;
        return;
    }
    if (progress.finished) {
        if (m_width > 0) Write("\r" + std::string(m_width, ' ') + "\r");
        m_width = 0;
        return;
    }
    if (!m_active) return;
    const double elapsed = std::chrono::duration<double>(now - m_start).count();
    if (elapsed < m_delay) return;
    if (m_width > 0 && now - m_shown < std::chrono::milliseconds(250)) return;
    m_shown = now;
    const std::size_t done = progress.done, total = progress.total;
    const double left =
        done > 0 ? elapsed * static_cast<double>(total - done) / static_cast<double>(done) : 0.0;
    char text[160];
    const int length = std::snprintf(text, sizeof text, "%s : %zu / %zu %s, %.0f s, reste ~%.0f s",
                                     progress.what, done, total, progress.items, elapsed, left);
    if (length <= 0) return;
    std::string line = "\r" + std::string(text, std::min<std::size_t>(length, sizeof text - 1));
    const std::size_t width = line.size() - 1;
    if (width < m_width) line += std::string(m_width - width, ' ');
    m_width = std::max(m_width, width);
    Write(line);
}

void TerminalProgress::Write(const std::string& bytes) {
    std::size_t at = 0;
    while (at < bytes.size()) {
        const ssize_t written = ::write(2, bytes.data() + at, bytes.size() - at);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return;  // a terminal that takes nothing: no progress
        at += static_cast<std::size_t>(written);
    }
}

ZuvanFatigueCriticalPlane::SearchOptions ForThisRun() {
    ZuvanFatigueCriticalPlane::SearchOptions options;
    options.threads =
        ThreadCountFrom(std::getenv("ZUVAN_THREADS"), std::thread::hardware_concurrency());
    const std::shared_ptr<TerminalProgress> line = std::make_shared<TerminalProgress>();
    options.progress = [line](const ZuvanFatigueCriticalPlane::SearchProgress& p) { (*line)(p); };
    return options;
}

}  // namespace ZuvanFatigueSearchSettings
