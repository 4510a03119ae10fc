// The two version records.
#include "sim/version.h"

const VersionDescription kSecondVersion = {
    "zorvan2",
    {{{PanelId::Empirical, "Empirikus eloszlás", 10, 360, 310, 460},
      {PanelId::Theory, "Elméleti eloszlás", 10, 250, 310, 350},
      {PanelId::Strip, "Darabszám-változás", 330, 250, 630, 460}}},
    3,
    {PanelId::Empirical, PanelId::Strip, PanelId::Theory},
    3,
    {PanelId::Empirical, PanelId::Strip, PanelId::Theory},
    3,
    true,
    "  Nincs meg a tájékoztató fájl!!!  ",
    "Zorvan2.sum",
    "  Nincs meg az összefoglaló fájl!!!  ",
};

const VersionDescription kFirstVersion = {
    "zorvan",
    {{{PanelId::Empirical, "Eloszlás", 10, 250, 310, 460},
      {PanelId::Strip, "Változás", 330, 250, 630, 460},
      {PanelId::Strip, "", 0, 0, 0, 0}}},
    2,
    {PanelId::Empirical, PanelId::Strip, PanelId::Empirical},
    2,
    {PanelId::Empirical, PanelId::Strip, PanelId::Empirical},
    2,
    false,
    "  Nincs meg a tájékoztató file!!!  ",
    "Zorvan.sum",
    "  Nincs meg az összefoglaló file!!!  ",
};

namespace {
const VersionDescription* active = &kSecondVersion;
}

const VersionDescription& current_version() { return *active; }
void set_current_version(const VersionDescription& version) { active = &version; }
