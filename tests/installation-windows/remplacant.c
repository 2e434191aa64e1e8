/* Remplaçant d'emporteur.exe ou d'emporteur-cli.exe, compilé par le test seul tant que
   les vrais ne se lient pas pour Windows : il répond à --version comme le vrai. */
#include <stdio.h>
#include <string.h>

int main(int argc, char** argv) {
    if (argc == 2 && strcmp(argv[1], "--version") == 0) {
        puts(NOM " " VERSION);
        return 0;
    }
    return 0;
}
