#include "deck/ZuvanFatigueDeckSplit.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <boost/filesystem.hpp>
#include <cerrno>
#include <cstdio>

#include "damage/CZuvanFatigueClause.h"
#include "deck/CZuvanFatigue.h"
#include "driver/CExceptionZuvanFatigue.h"
#include "stress/CZuvanFatigueHistorique.h"

namespace {

const char kTagStart[] = "<ZuvanFatigueDeckSplit::Start>";
const char kTagWrite[] = "<ZuvanFatigueDeckSplit::WriteRequest>";

// Writes bytes to path through a temporary file of the same folder renamed at
// the end: a reader never sees a part of it. False on any failure, with the
// temporary removed.
bool WriteWhole(const std::string& directory, const std::string& name, const std::string& bytes) {
    std::string temporary =
        (boost::filesystem::path(directory) / ("." + name + ".XXXXXX")).string();
    std::vector<char> buffer(temporary.begin(), temporary.end());
    buffer.push_back('\0');
    const int fd = ::mkstemp(buffer.data());
    if (fd < 0) return false;
    temporary.assign(buffer.data());
    bool ok = true;
    std::size_t done = 0;
    while (ok && done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) ok = false;
        if (n > 0) done += static_cast<std::size_t>(n);
    }
    // Written with mkstemp's mode (0600): given the usual mode of a new file.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    if (ok && ::fchmod(fd, 0666 & ~mask) != 0) ok = false;
    if (::close(fd) != 0) ok = false;
    const std::string path = (boost::filesystem::path(directory) / name).string();
    if (ok && std::rename(temporary.c_str(), path.c_str()) != 0) ok = false;
    if (!ok) std::remove(temporary.c_str());
    return ok;
}

}  // namespace

ZuvanFatigueDeckSplit::ZuvanFatigueDeckSplit(std::string deckPath, std::string directory)
    : m_deckPath(std::move(deckPath)), m_directory(std::move(directory)) {}

void ZuvanFatigueDeckSplit::Start() {
    Guard(kTagStart, [&] {
        boost::system::error_code ec;
        if (m_directory.empty()) Raise(kTagStart, kCodeRepertoireSortie);
        boost::filesystem::create_directories(m_directory, ec);
        if (!boost::filesystem::is_directory(m_directory, ec)) {
            Raise(kTagStart, kCodeRepertoireSortie);
        }
    });
}

void ZuvanFatigueDeckSplit::Ignored(long long begin) {
    if (m_pendingLead < 0) m_pendingLead = begin;
}

void ZuvanFatigueDeckSplit::Block(Kind kind, const std::string& name, long long begin,
                                  long long end) {
    const long long lead = m_pendingLead >= 0 ? m_pendingLead : begin;
    m_pendingLead = -1;
    const std::size_t index = m_blocks.size();
    m_blocks.push_back({kind, lead, begin, end});
    if (kind == Kind::kContext) {
        m_contextBlocks.push_back(index);
    } else if (kind != Kind::kRequest) {
        // Names are unique per kind: the reader refused a second one.
        m_byName.emplace(std::make_pair(static_cast<int>(kind), name), index);
    }
}

long long ZuvanFatigueDeckSplit::Find(Kind kind, const std::string& name) const {
    const auto it = m_byName.find(std::make_pair(static_cast<int>(kind), name));
    return it == m_byName.end() ? -1 : static_cast<long long>(it->second);
}

void ZuvanFatigueDeckSplit::WriteRequest(int index, const CZuvanFatigue& study,
                                         const CZuvanFatigueClause& request) {
    Guard(kTagWrite, [&] {
        if (m_blocks.empty() || m_blocks.back().kind != Kind::kRequest) {
            Raise(kTagWrite, kCodeInterne);
        }
        // The blocks the request uses, kept in deck order: each one follows
        // what it names, as in the whole deck.
        std::vector<long long> used(m_contextBlocks.begin(), m_contextBlocks.end());
        const auto use = [&](Kind kind, const std::string& name) {
            const long long at = Find(kind, name);
            if (at >= 0) used.push_back(at);
        };
        const CZuvanFatigueHistorique& history = request.GetHistory();
        use(Kind::kHistory, history.GetName());
        const auto& zones = study.UWZones();
        const auto& welds = study.Welds();
        if (history.GetType() == 30) {
            use(Kind::kUWZone, history.GetZoneName());
            const auto zone = zones.find(history.GetZoneName());
            if (zone != zones.end()) use(Kind::kComponent, zone->second.GetComponentName());
        } else if (history.GetType() == 20 || history.GetType() == 40) {
            use(Kind::kWeld, history.GetZoneName());
            const auto seam = welds.find(history.GetZoneName());
            if (seam != welds.end()) {
                use(Kind::kComponent, seam->second.GetFirstComponentName());
                use(Kind::kComponent, seam->second.GetSecondComponentName());
            }
        }
        std::sort(used.begin(), used.end());
        used.erase(std::unique(used.begin(), used.end()), used.end());
        used.push_back(static_cast<long long>(m_blocks.size() - 1));

        if (!m_deck.is_open()) {
            m_deck.open(m_deckPath.c_str(), std::ios::in | std::ios::binary);
            if (!m_deck.is_open()) Raise(kTagWrite, kCodeFichierDonnees);
        }
        std::string bytes;
        for (const long long at : used) {
            const Range& range = m_blocks[static_cast<std::size_t>(at)];
            // A deck that cannot tell where its lines are (a pipe) cannot be split.
            if (range.lead < 0 || range.end < range.lead) Raise(kTagWrite, kCodeFichierDonnees);
            const std::size_t size = static_cast<std::size_t>(range.end - range.lead);
            const std::size_t from = bytes.size();
            bytes.resize(from + size);
            m_deck.clear();
            m_deck.seekg(range.lead);
            m_deck.read(&bytes[from], static_cast<std::streamsize>(size));
            if (static_cast<std::size_t>(m_deck.gcount()) != size) {
                Raise(kTagWrite, kCodeFichierDonnees);
            }
        }
        if (!WriteWhole(m_directory, std::to_string(index) + ".data", bytes)) {
            Raise(kTagWrite, kCodeFichierResultats);
        }
    });
}
