/* Remplaçant d'emporteur.exe ou d'emporteur-cli.exe, compilé par le test seul tant que
   les vrais ne se lient pas pour Windows : il répond à --version comme le vrai, et à
   verification-programmee par 0 ; à tout autre mot, par l'erreur d'usage (2). */
#include <stdio.h>
#include <string.h>

int main(int argc, char** argv) {
    if (argc == 1) return 0;
    if (argc == 2 && strcmp(argv[1], "--version") == 0) {
        puts(NOM " " VERSION);
        return 0;
    }
    if (argc == 2 && strcmp(argv[1], "verification-programmee") == 0) return 0;
    return 2;
}
