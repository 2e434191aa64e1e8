// emporteur-cli : le compagnon en ligne de commande du noyau.
#include "cli/Commandes.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::fputs(emporteur::cli::Usage(), stderr);
        return 2;
    }
    const std::string commande = args.front();
    args.erase(args.begin());
    return emporteur::cli::Executer(commande, args);
}
