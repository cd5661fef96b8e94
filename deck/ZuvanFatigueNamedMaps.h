#pragma once
// The maps by name of the study and of the context library: objects held by
// value under the name their reader took from the header card, names compared
// byte for byte.

#include <map>
#include <string>

#include "driver/CExceptionZuvanFatigue.h"

namespace ZuvanFatigueNamedMaps {

// Inserts a copy of the object under its own name; a name already held fails
// with the kind's "existe déjà" code.
template <class T>
void Add(std::map<std::string, T>& map, const T& object, int duplicateCode, const char* tag) {
    Guard(tag, [&] {
        if (map.count(object.GetName()) != 0) Raise(tag, duplicateCode);
        map.emplace(object.GetName(), object);
    });
}

// A copy of the object of that name; a name not held fails with the kind's
// "n'existe pas" code.
template <class T>
T Get(const std::map<std::string, T>& map, const std::string& name, int missingCode,
      const char* tag) {
    return Guard(tag, [&]() -> T {
        const auto it = map.find(name);
        if (it == map.end()) Raise(tag, missingCode);
        return it->second;
    });
}

}  // namespace ZuvanFatigueNamedMaps
