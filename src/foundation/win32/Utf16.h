#pragma once
// Passage UTF-8 ↔ UTF-16 pour chaque appel à Windows : le noyau garde ses textes et
// ses chemins en UTF-8, les fonctions « W » de Windows les veulent en UTF-16.

#include <string>
#include <string_view>

namespace emporteur {

// UTF-8 mal formé : chaque octet fautif devient U+FFFD (jamais d'exception).
std::wstring VersUtf16(std::string_view utf8);
std::string DepuisUtf16(std::wstring_view utf16);

} // namespace emporteur
