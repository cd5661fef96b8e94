#pragma once
// Shared by the tests of the two weld analyses: decks of the weld context and
// studies built from them, with requests run on them directly.

#include <memory>
#include <string>

#include "damage/CZuvanFatigueClause.h"
#include "deck/CZuvanFatigue.h"
#include "tests/ZuvanFatigueTestSupport.h"

namespace ZuvanFatigueWeldTest {

const std::string kDecks = std::string(ZUVAN_TEST_DIR) + "/decks/";
const std::string kExpected = std::string(ZUVAN_TEST_DIR) + "/expected/";
const std::string kContext = kDecks + "weld.ctx";
const std::string kZero = "0 0 0 0 0 0";

// One plain record: pressure p, temperature t, total, membrane, linearised
// mechanical and thermal tensors.
std::string Record(const std::string& name, const std::string& p, const std::string& t,
                   const std::string& sij, const std::string& sijm, const std::string& sijlm,
                   const std::string& sijlt);

// Two GENERAL components A (thickness a, material ma) and B (b, mb), the seam
// S between them (class BW), and history H of the given kind card
// ("*HISTORIQUE_CORDON" or "*HISTORIQUE_GORGE") with the records.
std::string Seam(const std::string& a, const std::string& ma, const std::string& b,
                 const std::string& mb, const std::string& kindCard, const std::string& records);

// The request block on H into r.txt, counted by rainflow.
extern const std::string kRequest;

using ZuvanFatigueTest::CodeOf;

// Runs a data deck against the weld context, reports into the folder.
ZuvanFatigueTest::RunResult RunDeck(const ZuvanFatigueTest::TempDir& dir, const std::string& data);

// A study read from a data deck without requests, against the weld context,
// with the folder as output directory (the deck echo is swallowed).
std::unique_ptr<CZuvanFatigue> ReadStudy(const ZuvanFatigueTest::TempDir& dir,
                                         const std::string& data);

// Runs a request on history H of the study into r.txt (rainflow, Tresca);
// returns the damage, or -code when it fails.
double RunRequest(const CZuvanFatigue& study, const std::string& outputDirectory,
                  int reportSwitch = CZuvanFatigueClause::kWriteReport);

}  // namespace ZuvanFatigueWeldTest
