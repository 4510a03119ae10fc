// The texts of the program's own notices.
#include "services/notices.h"

namespace notice {

std::string enlarge_terminal(int columns, int rows) {
  return "Kérem, nagyítsa meg a terminált legalább 80x25 méretűre (most " + std::to_string(columns) +
         "x" + std::to_string(rows) + "). [Please enlarge the terminal to at least 80x25.]";
}

std::string unusable_terminal(const char* term) {
  return std::string("Ez a terminál nem használható (TERM=") + (term != nullptr ? term : "nincs") +
         "): ismeretlen típus, vagy nem tudja a kurzort mozgatni. [Cannot use this terminal: "
         "unknown type or no cursor control.]";
}

std::string console_failed(const std::string& reason) {
  return "A konzol nem indítható: " + reason + " [Cannot start the console.]";
}

std::string no_display() {
  return "Nincs grafikus kijelző, ezért a futás ablaka nem nyitható meg: indítsa a programot "
         "grafikus asztalon (X11 vagy Wayland), állítsa be a DISPLAY változót, vagy futtassa "
         "böngészőben a weblapos változatot (./run.sh --web). [No display: the graphics window "
         "cannot be opened.]";
}

std::string window_failed() {
  return "A grafikus ablak nem nyitható meg. [The graphics window cannot be opened.]";
}

std::string display_lost() {
  return "Megszakadt a kapcsolat a grafikus kijelzővel, a program leállt. [The connection to the "
         "display was lost.]";
}

std::string zoom_too_large(int zoom, int largest) {
  return "A nagyítás (--zoom " + std::to_string(zoom) + ") túl nagy ehhez a képernyőhöz: a " +
         "rajzlap legalább 640x480 képpontos kell legyen, itt legfeljebb --zoom " +
         std::to_string(largest) + " fér el. [Zoom too large for this screen.]";
}

std::string bad_argument(const std::string& argument) {
  return "Ismeretlen vagy hibás megadás: \"" + argument + "\". Használat: zorvan2 [--zoom N] vagy " +
         "zorvan [--zoom N], ahol N egész szám 1 és 8 között (vagy ZORVAN_ZOOM=N). [Usage: --zoom N, N from 1 to 8.]";
}

std::string internal_error(const std::string& what) {
  return "Belső hiba: " + what + " [Internal error.]";
}

}  // namespace notice
