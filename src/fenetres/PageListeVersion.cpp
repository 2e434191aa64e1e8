#include "fenetres/PageListeVersion.h"

namespace emporteur::fenetres {

PageListeVersion::PageListeVersion(Livret& livret, ContexteTelechargement& ctx, ModeExecution mode)
    : PageLivret(livret, 322, 265), ctx_(ctx), mode_(mode) {}

} // namespace emporteur::fenetres
