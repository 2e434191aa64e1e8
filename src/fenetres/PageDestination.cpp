#include "fenetres/PageDestination.h"

namespace emporteur::fenetres {

PageDestination::PageDestination(Livret& livret, ContexteTelechargement& ctx)
    : PageLivret(livret, 321, 194), ctx_(ctx) {}

} // namespace emporteur::fenetres
