#pragma once
// The one exception type of the program: an error code and a diagnostic text.
// The text names the raising operation ("<Class::Method> : message") and is
// never printed; only the code reaches the user through the end report.

#include <string>

class CExceptionZuvanFatigue {
   public:
    CExceptionZuvanFatigue(const char* text, int code);
    CExceptionZuvanFatigue(const CExceptionZuvanFatigue& other);
    CExceptionZuvanFatigue& operator=(const CExceptionZuvanFatigue& other);
    ~CExceptionZuvanFatigue();

    int GetCode() const { return m_code; }
    // Null when no text was given or its copy could not be allocated.
    const char* GetMessage() const { return m_message; }

   private:
    int m_code;
    char* m_message;
};

// Error codes (the end report's table holds their message lines).
constexpr int kCodeInconnu = 10;
constexpr int kCodeClasse = 20;
constexpr int kCodeMalPlacee = 30;
constexpr int kCodeCarteInconnue = 40;
constexpr int kCodeFinDeFichier = 50;
constexpr int kCodeClasseExiste = 60;
constexpr int kCodeUWCourbe = 70;
constexpr int kCodeUWCourbeExiste = 80;
constexpr int kCodeClasseAbsente = 90;
constexpr int kCodeUWCourbeAbsente = 100;
constexpr int kCodeClassification = 110;
constexpr int kCodeClassificationAbsente = 120;
constexpr int kCodeClassificationExiste = 130;
constexpr int kCodeComposant = 140;
constexpr int kCodeUWZone = 150;
constexpr int kCodeImperfection = 160;
constexpr int kCodeCordon = 170;
constexpr int kCodeComposantCordonAbsent = 180;
constexpr int kCodeReleve = 190;
constexpr int kCodeHistorique = 200;
constexpr int kCodeInterne = 210;
constexpr int kCodePasAssezDeReleves = 220;
constexpr int kCodeMethodeNonProgrammee = 230;
constexpr int kCodeFichierDonnees = 240;
constexpr int kCodeComposantExiste = 250;
constexpr int kCodeUWZoneExiste = 260;
constexpr int kCodeCordonExiste = 270;
constexpr int kCodeHistoriqueExiste = 280;
constexpr int kCodeFichierResultats = 290;
constexpr int kCodeHistoriqueAbsent = 300;
constexpr int kCodeDommage = 310;
constexpr int kCodeCritere = 320;
constexpr int kCodeComptage = 330;
constexpr int kCodeStrategie = 340;
constexpr int kCodeFichierContexte = 350;
constexpr int kCodeCordonAbsent = 360;
constexpr int kCodeUWZoneAbsente = 370;
constexpr int kCodeComposantAbsent = 380;
constexpr int kCodeMateriau = 390;
constexpr int kCodeMateriauExiste = 400;
constexpr int kCodeMateriauAbsent = 410;
constexpr int kCodeKe = 420;
constexpr int kCodeEndommagement = 430;
constexpr int kCodeIncoherent = 440;
constexpr int kCodeRepertoireSortie = 450;
constexpr int kCodeReservoir = 460;
constexpr int kCodeNonConvergence = 470;
constexpr int kCodeTemperature = 480;

// Throws CExceptionZuvanFatigue with the text "<tag> : <first message line of code>".
[[noreturn]] void Raise(const char* tag, int code);

// Runs body; lets the program's own exception pass and turns any other into code 10.
template <class F>
auto Guard(const char* tag, F&& body) -> decltype(body()) {
    try {
        return body();
    } catch (const CExceptionZuvanFatigue&) {
        throw;
    } catch (...) {
        Raise(tag, kCodeInconnu);
    }
}

// Entry-point form: returns 0, the code of the program's exception, or 10.
template <class F>
int GuardEntry(F&& body) {
    try {
        body();
        return 0;
    } catch (const CExceptionZuvanFatigue& e) {
        return e.GetCode();
    } catch (...) {
        return kCodeInconnu;
    }
}
