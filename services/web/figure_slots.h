// The slots of zorvan_figures's answer (web_page_api.cpp), in order, with the names the page
// reads them by; the build writes the names into the page's facts (tools/page_facts.cpp).
#pragma once

#include <array>

enum FigureSlot {
  kValid, kStepCount, kInsectCount, kBox1Count, kBox2Count, kHalf, kHasDistance, kDistance,
  kFirstStepDistance, kPace, kRunMode, kSeed, kFigureSlots
};

constexpr std::array<const char*, kFigureSlots> kFigureSlotNames = {
    "valid", "step", "insects", "box1", "box2", "half", "hasDistance", "distance",
    "firstDistance", "pace", "mode", "seed"};
