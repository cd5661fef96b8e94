#pragma once
// One data deck per damage request: the blocks of a data deck recorded as
// byte ranges of its file while it is read, and for each request K the file
// K.data of a folder holding, byte for byte, the blocks that request uses
// (its history, its unwelded zone or weld seam, their components, the data
// deck's own context blocks, each with the comment lines just above it),
// then the request's own block. Such a deck, read with the same context,
// gives that request's report exactly.

#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

class CZuvanFatigue;
class CZuvanFatigueClause;

class ZuvanFatigueDeckSplit {
   public:
    enum class Kind { kContext, kComponent, kUWZone, kWeld, kHistory, kRequest };

    // deckPath: the data deck being read; directory: where the K.data go.
    ZuvanFatigueDeckSplit(std::string deckPath, std::string directory);

    // Creates the folder when missing (450 when it cannot be).
    void Start();
    // A top-level comment or empty line beginning at byte offset begin.
    void Ignored(long long begin);
    // A block from its header line (offset begin) to the byte after its end
    // card (offset end).
    void Block(Kind kind, const std::string& name, long long begin, long long end);
    // Writes directory/index.data for the request whose block was recorded
    // last, defined and resolved against study (the study as read so far).
    // The file appears whole or not at all (290 when it cannot be written).
    void WriteRequest(int index, const CZuvanFatigue& study, const CZuvanFatigueClause& request);

   private:
    struct Range {
        Kind kind;
        long long lead, begin, end;  // lead: the first comment line above the block
    };
    // Index of the block (kind, name) in m_blocks, or -1.
    long long Find(Kind kind, const std::string& name) const;

    std::string m_deckPath;
    std::string m_directory;
    std::vector<Range> m_blocks;
    std::vector<std::size_t> m_contextBlocks;
    std::map<std::pair<int, std::string>, std::size_t> m_byName;
    long long m_pendingLead = -1;
    std::ifstream m_deck;
};
