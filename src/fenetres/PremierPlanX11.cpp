// Recherche d'une fenêtre de premier niveau par son titre exact et mise au premier
// plan, sous X11, par xcb. Au mieux : sans X11, ou sans gestionnaire de fenêtres
// qui tienne _NET_CLIENT_LIST, les enfants de la racine font la liste.
#include "fenetres/InterfaceQt.h"

#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace emporteur::fenetres {

namespace {
template <typename T> using Reponse = std::unique_ptr<T, decltype(&std::free)>;

xcb_atom_t Atome(xcb_connection_t* c, const char* nom) {
    Reponse<xcb_intern_atom_reply_t> r(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(strlen(nom)), nom),
                              nullptr),
        &std::free);
    return r ? r->atom : xcb_atom_t{XCB_ATOM_NONE};
}

std::string Propriete(xcb_connection_t* c, xcb_window_t fenetre, xcb_atom_t nom, xcb_atom_t type) {
    Reponse<xcb_get_property_reply_t> r(
        xcb_get_property_reply(c, xcb_get_property(c, 0, fenetre, nom, type, 0, 1024), nullptr),
        &std::free);
    if (!r || r->type == XCB_ATOM_NONE) return {};
    const auto* octets = static_cast<const char*>(xcb_get_property_value(r.get()));
    return std::string(octets, static_cast<std::size_t>(xcb_get_property_value_length(r.get())));
}

std::vector<xcb_window_t> FenetresDePremierNiveau(xcb_connection_t* c, xcb_window_t racine) {
    std::vector<xcb_window_t> liste;
    Reponse<xcb_get_property_reply_t> r(
        xcb_get_property_reply(
            c,
            xcb_get_property(c, 0, racine, Atome(c, "_NET_CLIENT_LIST"), XCB_ATOM_WINDOW, 0, 4096),
            nullptr),
        &std::free);
    if (r && r->type == XCB_ATOM_WINDOW) {
        const auto* f = static_cast<const xcb_window_t*>(xcb_get_property_value(r.get()));
        liste.assign(f, f + xcb_get_property_value_length(r.get()) / 4);
        return liste;
    }
    Reponse<xcb_query_tree_reply_t> arbre(
        xcb_query_tree_reply(c, xcb_query_tree(c, racine), nullptr), &std::free);
    if (!arbre) return liste;
    const auto* f = xcb_query_tree_children(arbre.get());
    liste.assign(f, f + xcb_query_tree_children_length(arbre.get()));
    return liste;
}

void Activer(xcb_connection_t* c, xcb_window_t racine, xcb_window_t fenetre) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = fenetre;
    message.type = Atome(c, "_NET_ACTIVE_WINDOW");
    message.data.data32[0] = 1; // demande d'une application
    message.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(c, 0, racine,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    const uint32_t dessus = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(c, fenetre, XCB_CONFIG_WINDOW_STACK_MODE, &dessus);
    xcb_flush(c);
}
} // namespace

bool MettreAuPremierPlanX11(const std::string& titre) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection()) return false;
    xcb_connection_t* c = x11->connection();
    const xcb_setup_t* installation = xcb_get_setup(c);
    const xcb_window_t racine = xcb_setup_roots_iterator(installation).data->root;
    const xcb_atom_t nomNet = Atome(c, "_NET_WM_NAME");
    const xcb_atom_t utf8 = Atome(c, "UTF8_STRING");
    for (const xcb_window_t fenetre : FenetresDePremierNiveau(c, racine)) {
        std::string nom = Propriete(c, fenetre, nomNet, utf8);
        if (nom.empty()) nom = Propriete(c, fenetre, XCB_ATOM_WM_NAME, XCB_ATOM_ANY);
        if (nom != titre) continue;
        Activer(c, racine, fenetre);
        return true;
    }
    return false;
}

} // namespace emporteur::fenetres
