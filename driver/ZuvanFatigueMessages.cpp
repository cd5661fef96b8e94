#include "driver/ZuvanFatigueMessages.h"

#include <map>

namespace {

using Lines = std::vector<std::string>;

const std::map<int, Lines>& Table() {
    static const std::map<int, Lines> table = {
        {10, {"Erreur inconnue "}},
        {20, {"Mauvaise définition d'une courbe de fatigue pour zones soudées "}},
        {30, {"Carte de données mal placée "}},
        {40,
         {"Carte de donnée inconnue ",
          "Vérifiez que chaque ligne de données commence par les caractères * ou \\ ",
          "Vérifiez qu'aucune ligne de données ne commence par un caractère blanc ",
          "Vérifiez qu'aucune ligne de données ne commence par une action inconnue",
          "Vérifiez que votre éditeur de texte ne place pas des balises autours des mots ",
          "Créez votre fichier de données avec un éditeur de texte du type Notepad++, ... ",
          "Dans votre éditeur de texte sauvegardez votre fichier de données en ASCII ou UTF-8 "
          "avec ou sans BOM"}},
        {50, {"Fin de fichier atteinte alors que le logiciel attend des données supplémentaires "}},
        {60, {"La courbe de fatigue pour zone soudée dont on donne la définition existe déjà "}},
        {70, {"Mauvaise définition d'une courbe de fatigue pour les zones non soudées "}},
        {80,
         {"La courbe de fatigue pour zone non soudée dont on donne la définition existe déjà "}},
        {90, {"La courbe de fatigue pour zone soudée qui est citée n'existe pas "}},
        {100, {"La courbe de fatigue pour zone non soudée qui est citée n'existe pas "}},
        {110, {"Mauvaise définition d'une classification de zone soudée selon C11.A5 "}},
        {120, {"La classification de zone soudée selon C11.A5 qui est citée n'existe pas "}},
        {130,
         {"La classification de zone soudée selon C11.A5 dont on donne la définition existe "
          "déjà "}},
        {140, {"Mauvaise définition d'un composant "}},
        {150, {"Mauvaise définition d'une zone non soudée "}},
        {160, {"Mauvaise définition d'une imperfection de forme "}},
        {170, {"Mauvaise définition d'un cordon de soudure "}},
        {180, {"Un des composants que le cordon lie entre eux n'existe pas "}},
        {190, {"Mauvaise définition d'un relevé de contraintes "}},
        {200, {"Mauvaise définition d'un historique de contraintes "}},
        {210, {"Erreur interne au logiciel, contactez le SOVEC "}},
        {220,
         {"L'historique ne contient pas assez de relevés pour permettre un comptage des "
          "cycles "}},
        {230, {"La méthode demandée n'est pas programmée dans la version actuelle du logiciel "}},
        {240, {"Le fichier de données n'est pas disponible "}},
        {250, {"Le composant dont la définition est donnée existe déjà "}},
        {260, {"La zone sans soudure dont la définition est donnée existe déjà "}},
        {270, {"Le cordon de soudure dont la définition est donnée existe déjà "}},
        {280, {"L'historique de contraintes dont la définition est donnée existe déjà "}},
        {290, {"Le fichier de résultats n'est pas disponible "}},
        {300, {"L'historique de contraintes auquel on se réferre n'existe pas "}},
        {310, {"La demande de calcul du taux d'endommagement est invalide "}},
        {320,
         {"Erreur interne au logiciel - critère de plasticité non défini, contactez le SOVEC "}},
        {330,
         {"La demande de calcul du taux d'endommagement est invalide - méthode de comptage des "
          "cycles non définie "}},
        {340,
         {"Erreur interne au logiciel - stratégie de résolution non définie, contactez le "
          "SOVEC "}},
        {350, {"Le fichier de contexte n'est pas disponible "}},
        {360, {"Le cordon auquel l'on se réferre n'existe pas "}},
        {370, {"La zone sans soudure à laquelle l'on se réferre n'existe pas "}},
        {380, {"Le composant auquel l'on se réferre n'existe pas "}},
        {390, {"Mauvaise définition d'un matériau "}},
        {400, {"Le matériau dont la définition est donnée existe déjà "}},
        {410, {"Le matériau auquel l'on se réferre n'existe pas "}},
        {420, {"Ke ne peut pas être calculé pour la résistance à la traction(Rm) du matériau "}},
        {430, {"Le taux d'endommagement ne peut pas être calculé pour le matériau utilisé "}},
        {440, {"Les valeurs de contraintes fournies ne sont pas cohérentes "}},
        {450, {"Le répertoire de sortie désigné n'est pas disponible "}},
        {460,
         {"La méthode du réservoir est utilisable uniquement pour des historiques "
          "périodiques "}},
        {470,
         {"Erreur interne au logiciel, non convergence pour un facteur correctif, contactez le "
          "SOVEC "}},
        {480,
         {"Matériau - la température d'entrée sort de l'intervalle des températures "
          "fournies "}},
    };
    return table;
}

}  // namespace

const std::vector<std::string>& ZuvanFatigueMessageLines(int code) {
    static const Lines undocumented = {"Erreur non documentée, contactez le SOVEC "};
    const auto& table = Table();
    const auto it = table.find(code);
    return it == table.end() ? undocumented : it->second;
}

std::string ZuvanFatigueFirstMessage(int code) {
    std::string first = ZuvanFatigueMessageLines(code).front();
    while (!first.empty() && first.back() == ' ') first.pop_back();
    return first;
}
