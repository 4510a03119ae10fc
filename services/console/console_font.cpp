// Choosing the console font for the space an edition has.
#include "services/console/console_font.h"

#include "services/console/console.h"
#include "services/graphics/picture.h"

int console_font_for(int output_w, int output_h) {
  int best = 0;
  int best_width = 0;
  for (int index = 0; index < kConsoleFontCount; ++index) {
    const Placement placement =
        place_picture(kConsoleFonts[index].width * kConsoleColumns,
                      kConsoleFonts[index].height * kConsoleRows, output_w, output_h);
    if (placement.whole_multiple && placement.target.w >= best_width) {
      best = index;
      best_width = placement.target.w;
    }
  }
  return best;
}
