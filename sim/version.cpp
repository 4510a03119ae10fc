// The two version records.
#include "sim/version.h"

namespace {

constexpr PanelDesign kSecondPanels[] = {
    {PanelId::Empirical, "Empirikus eloszlás", 10, 360, 310, 460},
    {PanelId::Theory, "Elméleti eloszlás", 10, 250, 310, 350},
    {PanelId::Strip, "Darabszám-változás", 330, 250, 630, 460},
};
constexpr PanelId kSecondFrames[] = {PanelId::Empirical, PanelId::Strip, PanelId::Theory};
constexpr SummaryMarker kSecondMarkers[] = {
    {"<@T@>", SummaryFigure::StepCount},
    {"<@N@>", SummaryFigure::InsectCount},
    {"<@K@>", SummaryFigure::Box1Count},
    {"<@Eloszlasok1@>", SummaryFigure::FirstStepDistance},
    {"<@EloszlasokV@>", SummaryFigure::FinalDistance},
};

constexpr PanelDesign kFirstPanels[] = {
    {PanelId::Empirical, "Eloszlás", 10, 250, 310, 460},
    {PanelId::Strip, "Változás", 330, 250, 630, 460},
};
constexpr PanelId kFirstFrames[] = {PanelId::Empirical, PanelId::Strip};
constexpr std::span<const SummaryMarker> kFirstMarkers{kSecondMarkers, 3};

}  // namespace

const VersionDescription kSecondVersion = {
    kSecondPanels,
    kSecondFrames,
    kSecondFrames,
    true,
    "  Nincs meg a tájékoztató fájl!!!  ",
    "Zorvan2.sum",
    kSecondMarkers,
    "  Nincs meg az összefoglaló fájl!!!  ",
};

const VersionDescription kFirstVersion = {
    kFirstPanels,
    kFirstFrames,
    kFirstFrames,
    false,
    "  Nincs meg a tájékoztató file!!!  ",
    "Zorvan.sum",
    kFirstMarkers,
    "  Nincs meg az összefoglaló file!!!  ",
};
