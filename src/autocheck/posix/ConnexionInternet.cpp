#include "autocheck/ConnexionInternet.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <sys/socket.h>

namespace emporteur {

bool ConnexionInternet() {
    ifaddrs* liste = nullptr;
    if (::getifaddrs(&liste) != 0) return false;
    bool connecte = false;
    for (const ifaddrs* i = liste; i && !connecte; i = i->ifa_next) {
        const bool adresse = i->ifa_addr && (i->ifa_addr->sa_family == AF_INET ||
                                             i->ifa_addr->sa_family == AF_INET6);
        connecte = adresse && (i->ifa_flags & IFF_UP) && !(i->ifa_flags & IFF_LOOPBACK);
    }
    ::freeifaddrs(liste);
    return connecte;
}

} // namespace emporteur
