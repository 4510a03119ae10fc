// The two version records.
#include "sim/version.h"

#include "charts/chart_panel.h"

static_assert(text_limit::kChartTitle == kMaxTitleLength, "a chart title's limit is the panel's");

namespace {

constexpr PanelDesign kSecondPanels[] = {
    {PanelId::Empirical, Message::ChartEmpirical, 10, 360, 310, 460},
    {PanelId::Theory, Message::ChartTheory, 10, 250, 310, 350},
    {PanelId::Strip, Message::ChartStrip, 330, 250, 630, 460},
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
    {PanelId::Empirical, Message::ChartEmpiricalFirst, 10, 250, 310, 460},
    {PanelId::Strip, Message::ChartStripFirst, 330, 250, 630, 460},
};
constexpr PanelId kFirstFrames[] = {PanelId::Empirical, PanelId::Strip};
constexpr std::span<const SummaryMarker> kFirstMarkers{kSecondMarkers, 3};

}  // namespace

const VersionDescription kSecondVersion = {
    kSecondPanels,
    kSecondFrames,
    kSecondFrames,
    true,
    Message::HelpMissing,
    "Zorvan2.sum",
    kSecondMarkers,
    Message::SummaryMissing,
};

const VersionDescription kFirstVersion = {
    kFirstPanels,
    kFirstFrames,
    kFirstFrames,
    false,
    Message::HelpMissingFirst,
    "Zorvan.sum",
    kFirstMarkers,
    Message::SummaryMissingFirst,
};
