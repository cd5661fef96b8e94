#include "deck/CZuvanFatigueContexte.h"

#include <fstream>

#include "deck/ZuvanFatigueCards.h"
#include "deck/ZuvanFatigueNamedMaps.h"
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
        StartDeck(path != nullptr ? path : "");
        if (path == nullptr || !OpenDeck(in, path)) Raise(kTag, kCodeFichierContexte);
        ReadCards(in);
    });
}

int CZuvanFatigueContexte::Read(std::istream& in) {
    return GuardEntry([&] { ReadCards(in); });
}

void CZuvanFatigueContexte::ReadCards(std::istream& in) {
    static const char kTag[] = "<CZuvanFatigueContexte::Read>";
    using namespace ZuvanFatigueCards;
    SkipByteOrderMark(in);
    std::string line;
    while (ReadDeckLine(in, line)) {
        if (ReadCard(line, in)) {
        } else if (!IsIgnored(line)) {
            Raise(kTag, kCodeCarteInconnue);
        }
    }
}

bool CZuvanFatigueContexte::ReadCard(const std::string& line, std::istream& in) {
    using namespace ZuvanFatigueCards;
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
    } else {
        return false;
    }
    return true;
}

void CZuvanFatigueContexte::Clear() {
    m_classes.clear();
    m_materials.clear();
    m_uwCurves.clear();
    m_weldDetails.clear();
}

void CZuvanFatigueContexte::AddFatigueClass(CZuvanFatigueClasse fatigueClass) {
    static const char kTag[] = "<CZuvanFatigueContexte::AddFatigueClass>";
    ZuvanFatigueNamedMaps::Add(m_classes, fatigueClass, kCodeClasseExiste, kTag);
}

bool CZuvanFatigueContexte::ClassExist(std::string name) const {
    return m_classes.count(name) != 0;
}

CZuvanFatigueClasse CZuvanFatigueContexte::GetClass(std::string name) const {
    static const char kTag[] = "<CZuvanFatigueContexte::GetClass>";
    return ZuvanFatigueNamedMaps::Get(m_classes, name, kCodeClasseAbsente, kTag);
}

void CZuvanFatigueContexte::AddMaterial(CZuvanFatigueMateriau material) {
    static const char kTag[] = "<CZuvanFatigueContexte::AddMaterial>";
    ZuvanFatigueNamedMaps::Add(m_materials, material, kCodeMateriauExiste, kTag);
}

bool CZuvanFatigueContexte::MaterialExist(std::string name) const {
    return m_materials.count(name) != 0;
}

CZuvanFatigueMateriau CZuvanFatigueContexte::GetMaterial(std::string name) const {
    static const char kTag[] = "<CZuvanFatigueContexte::GetMaterial>";
    return ZuvanFatigueNamedMaps::Get(m_materials, name, kCodeMateriauAbsent, kTag);
}

void CZuvanFatigueContexte::AddUWCurve(CZuvanFatigueUWCourbe curve) {
    static const char kTag[] = "<CZuvanFatigueContexte::AddUWCurve>";
    ZuvanFatigueNamedMaps::Add(m_uwCurves, curve, kCodeUWCourbeExiste, kTag);
}

bool CZuvanFatigueContexte::UWCurveExist(std::string name) const {
    return m_uwCurves.count(name) != 0;
}

CZuvanFatigueUWCourbe CZuvanFatigueContexte::GetUWCurve(std::string name) const {
    static const char kTag[] = "<CZuvanFatigueContexte::GetUWCurve>";
    return ZuvanFatigueNamedMaps::Get(m_uwCurves, name, kCodeUWCourbeAbsente, kTag);
}

void CZuvanFatigueContexte::AddWeldDetail(CZuvanFatigueClassification detail) {
    static const char kTag[] = "<CZuvanFatigueContexte::AddWeldDetail>";
    ZuvanFatigueNamedMaps::Add(m_weldDetails, detail, kCodeClassificationExiste, kTag);
}

bool CZuvanFatigueContexte::WeldDetailExist(std::string name) const {
    return m_weldDetails.count(name) != 0;
}

CZuvanFatigueClassification CZuvanFatigueContexte::GetWeldDetail(std::string name) const {
    static const char kTag[] = "<CZuvanFatigueContexte::GetWeldDetail>";
    return ZuvanFatigueNamedMaps::Get(m_weldDetails, name, kCodeClassificationAbsente, kTag);
}
