// Un nom local du catalogue ne sort jamais du dossier de destination sous Windows,
// ni ne vise un périphérique ou un flux de données.
#include "download/DossierSegments.h"

#include <gtest/gtest.h>

namespace emporteur {
namespace {

TEST(NomSurDisqueWin32, NomsLocauxRefusesOuAdmis) {
    const struct {
        const char* nom;
        bool admis;
    } cas[] = {
        {"setup.exe", true},
        {"Mise à jour 6.0.exe", true},
        {"a..b", true},
        {"console.exe", true},
        {"COM10", true},
        {"..\\..\\Windows\\setup.exe", false},
        {"sous\\setup.exe", false},
        {"C:setup.exe", false},
        {"setup.exe:flux", false},
        {"set*up.exe", false},
        {"setup?.exe", false},
        {"a\"b", false},
        {"a<b>", false},
        {"a|b", false},
        {"tab\tulation", false},
        {"setup.exe.", false},
        {"setup.exe ", false},
        {"..", false},
        {"NUL", false},
        {"nul.txt", false},
        {"Con .log", false},
        {"com1", false},
        {"LPT9.exe", false},
        {"conout$", false},
    };
    for (const auto& c : cas)
        EXPECT_EQ(NomLocalAdmis(c.nom), c.admis) << c.nom;
}

} // namespace
} // namespace emporteur
