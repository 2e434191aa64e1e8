#pragma once
// Le passage des textes du noyau (UTF-8) aux textes de Qt, en un seul endroit.

#include <QString>

#include <string>

namespace emporteur::fenetres {

inline QString Q(const std::string& texte) {
    return QString::fromStdString(texte);
}

} // namespace emporteur::fenetres
