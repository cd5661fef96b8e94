#pragma once
// The context library: shared definitions kept by name, each kind in its own
// map: weld fatigue classes, materials, unwelded-zone fatigue curves and
// weld-zone classifications (C11.A5).

#include <istream>
#include <map>
#include <string>

#include "model/CZuvanFatigueClasse.h"
#include "model/CZuvanFatigueClassification.h"
#include "model/CZuvanFatigueMateriau.h"
#include "model/CZuvanFatigueUWCourbe.h"

class CZuvanFatigueContexte {
   public:
    CZuvanFatigueContexte();
    CZuvanFatigueContexte(const CZuvanFatigueContexte& other);
    CZuvanFatigueContexte& operator=(const CZuvanFatigueContexte& other);
    ~CZuvanFatigueContexte();

    // Entry point: reads a context file into the library; 0 or an error code.
    int Read(const char* path);
    // The same on a deck already open (a stream at its first byte).
    int Read(std::istream& in);
    // Reads the block of a context card (*CLASSE, *MATERIAU, *UWCOURBE,
    // *CLASSIFICATION) into the library; false when the line is none of them.
    bool ReadCard(const std::string& line, std::istream& in);
    void Clear();

    void AddFatigueClass(CZuvanFatigueClasse fatigueClass);  // 60 when the name exists
    bool ClassExist(std::string name) const;
    CZuvanFatigueClasse GetClass(std::string name) const;  // 90 when absent

    void AddMaterial(CZuvanFatigueMateriau material);  // 400 when the name exists
    bool MaterialExist(std::string name) const;
    CZuvanFatigueMateriau GetMaterial(std::string name) const;  // 410 when absent

    void AddUWCurve(CZuvanFatigueUWCourbe curve);  // 80 when the name exists
    bool UWCurveExist(std::string name) const;
    CZuvanFatigueUWCourbe GetUWCurve(std::string name) const;  // 100 when absent

    void AddWeldDetail(CZuvanFatigueClassification detail);  // 130 when the name exists
    bool WeldDetailExist(std::string name) const;
    CZuvanFatigueClassification GetWeldDetail(std::string name) const;  // 120 when absent

    const std::map<std::string, CZuvanFatigueMateriau>& Materials() const { return m_materials; }

   private:
    void ReadCards(std::istream& in);

    std::map<std::string, CZuvanFatigueClasse> m_classes;
    std::map<std::string, CZuvanFatigueMateriau> m_materials;
    std::map<std::string, CZuvanFatigueUWCourbe> m_uwCurves;
    std::map<std::string, CZuvanFatigueClassification> m_weldDetails;
};
