// A headless surface drawn on as the run screen does: text centred with y at its top, solid
// lines 3 pixels thick.
#pragma once

#include <gtest/gtest.h>

#include "services/graphics/graphics.h"
#include "services/graphics/presenter.h"
#include "services/program/host.h"

// Opens the surface at the size of `presenter`, set up for drawing as the run screen draws.
inline void open_chart_surface(HeadlessPresenter& presenter) {
  const ScopedHost hosted([&presenter](Host& record) { record.presenter = &presenter; });
  int16_t driver = 0, mode = 0;
  open_graphics(driver, mode, "");
  set_text_justify(HorizontalJustify::Center, VerticalJustify::Top);
  set_line_style(LineStyle::Solid, 0, LineThickness::Thick);
}

// Each test of the suite starts on a fresh 640x480 surface.
class ChartSurfaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static HeadlessPresenter presenter(640, 480);
    open_chart_surface(presenter);
  }
  void TearDown() override { close_graphics(); }
};
