#include "deck/CZuvanFatigueContexte.h"

#include <fstream>

#include "deck/ZuvanFatigueCards.h"
#include "driver/CExceptionZuvanFatigue.h"

CZuvanFatigueContexte::CZuvanFatigueContexte() {}

CZuvanFatigueContexte::CZuvanFatigueContexte(const CZuvanFatigueContexte& other) {
    static const char kTag[] = "<CZuvanFatigueContexte::CZuvanFatigueContexte(&SourceObject)>";
    Guard(kTag, [&] { *this = other; });
}

CZuvanFatigueContexte& CZuvanFatigueContexte::operator=(const CZuvanFatigueContexte& other) {
    static const char kTag[] = "<CZuvanFatigueContexte::operator=>";
    if (this != &other) {
        Guard(kTag, [&] {
            m_classes = other.m_classes;
            m_materials = other.m_materials;
            m_uwCurves = other.m_uwCurves;
            m_weldDetails = other.m_weldDetails;
        });
    }
    return *this;
}

CZuvanFatigueContexte::~CZuvanFatigueContexte() {}

int CZuvanFatigueContexte::Read(const char* path) {
    static const char kTag[] = "<CZuvanFatigueContexte::Read>";
    return GuardEntry([&] {
        using namespace ZuvanFatigueCards;
        std::ifstream in;
        if (path == nullptr || !OpenDeck(in, path)) Raise(kTag, kCodeFichierContexte);
        SkipByteOrderMark(in);
        std::string line;
        while (ReadDeckLine(in, line)) {
            if (IsCard(line, "*CLASSE")) {
                CZuvanFatigueClasse fatigueClass;
                CZuvanFatigueClasse::Read(CardLine(line), fatigueClass, in);
                AddFatigueClass(fatigueClass);
            } else if (IsCard(line, "*MATERIAU")) {
                CZuvanFatigueMateriau material;
                CZuvanFatigueMateriau::Read(CardLine(line), material, in);
                AddMaterial(material);
            } else if (IsCard(line, "*UWCOURBE")) {
                CZuvanFatigueUWCourbe curve;
                CZuvanFatigueUWCourbe::Read(CardLine(line), curve, in);
                AddUWCurve(curve);
            } else if (IsCard(line, "*CLASSIFICATION")) {
                CZuvanFatigueClassification detail;
                CZuvanFatigueClassification::Read(CardLine(line), detail, *this, in);
                AddWeldDetail(detail);
            } else if (!IsIgnored(line)) {
                Raise(kTag, kCodeCarteInconnue);
            }
        }
    });
}

void CZuvanFatigueContexte::Clear() {
    m_classes.clear();
    m_materials.clear();
    m_uwCurves.clear();
    m_weldDetails.clear();
}

void CZuvanFatigueContexte::AddFatigueClass(CZuvanFatigueClasse fatigueClass) {
    static const char kTag[] = "<CZuvanFatigueContexte::AddFatigueClass>";
    Guard(kTag, [&] {
        if (ClassExist(fatigueClass.GetName())) Raise(kTag, kCodeClasseExiste);
        m_classes.emplace(fatigueClass.GetName(), fatigueClass);
    });
}

bool CZuvanFatigueContexte::ClassExist(std::string name) const {
    return m_classes.count(name) != 0;
}

CZuvanFatigueClasse CZuvanFatigueContexte::GetClass(std::string name) const {
    static const char kTag[] = "<CZuvanFatigueContexte::GetClass>";
    return Guard(kTag, [&]() -> CZuvanFatigueClasse {
        const auto it = m_classes.find(name);
        if (it == m_classes.end()) Raise(kTag, kCodeClasseAbsente);
        return it->second;
    });
}

void CZuvanFatigueContexte::AddMaterial(CZuvanFatigueMateriau material) {
    static const char kTag[] = "<CZuvanFatigueContexte::AddMaterial>";
    Guard(kTag, [&] {
        if (MaterialExist(material.GetName())) Raise(kTag, kCodeMateriauExiste);
        m_materials.emplace(material.GetName(), material);
    });
}

bool CZuvanFatigueContexte::MaterialExist(std::string name) const {
    return m_materials.count(name) != 0;
}

CZuvanFatigueMateriau CZuvanFatigueContexte::GetMaterial(std::string name) const {
    static const char kTag[] = "<CZuvanFatigueContexte::GetMaterial>";
    return Guard(kTag, [&]() -> CZuvanFatigueMateriau {
        const auto it = m_materials.find(name);
        if (it == m_materials.end()) Raise(kTag, kCodeMateriauAbsent);
        return it->second;
    });
}

void CZuvanFatigueContexte::AddUWCurve(CZuvanFatigueUWCourbe curve) {
    static const char kTag[] = "<CZuvanFatigueContexte::AddUWCurve>";
    Guard(kTag, [&] {
        if (UWCurveExist(curve.GetName())) Raise(kTag, kCodeUWCourbeExiste);
        m_uwCurves.emplace(curve.GetName(), curve);
    });
}

bool CZuvanFatigueContexte::UWCurveExist(std::string name) const {
    return m_uwCurves.count(name) != 0;
}

CZuvanFatigueUWCourbe CZuvanFatigueContexte::GetUWCurve(std::string name) const {
    static const char kTag[] = "<CZuvanFatigueContexte::GetUWCurve>";
    return Guard(kTag, [&]() -> CZuvanFatigueUWCourbe {
        const auto it = m_uwCurves.find(name);
        if (it == m_uwCurves.end()) Raise(kTag, kCodeUWCourbeAbsente);
        return it->second;
    });
}

void CZuvanFatigueContexte::AddWeldDetail(CZuvanFatigueClassification detail) {
    static const char kTag[] = "<CZuvanFatigueContexte::AddWeldDetail>";
    Guard(kTag, [&] {
        if (WeldDetailExist(detail.GetName())) Raise(kTag, kCodeClassificationExiste);
        m_weldDetails.emplace(detail.GetName(), detail);
    });
}

bool CZuvanFatigueContexte::WeldDetailExist(std::string name) const {
    return m_weldDetails.count(name) != 0;
}

CZuvanFatigueClassification CZuvanFatigueContexte::GetWeldDetail(std::string name) const {
    static const char kTag[] = "<CZuvanFatigueContexte::GetWeldDetail>";
    return Guard(kTag, [&]() -> CZuvanFatigueClassification {
        const auto it = m_weldDetails.find(name);
        if (it == m_weldDetails.end()) Raise(kTag, kCodeClassificationAbsente);
        return it->second;
    });
}
