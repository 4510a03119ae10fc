# The sources of the core and of each edition, listed here once for every build (the desktop's,
# the web page's, the fuzzing build). The core is everything under services/, charts/ and sim/ but
# the two editions' own folders; it includes no header of SDL2, curses, X11 or Emscripten (the
# layer test checks it).
file(GLOB_RECURSE ZORVAN_CORE_SOURCES CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/services/*.cpp
  ${PROJECT_SOURCE_DIR}/charts/*.cpp
  ${PROJECT_SOURCE_DIR}/sim/*.cpp)
list(FILTER ZORVAN_CORE_SOURCES EXCLUDE REGEX "/services/(desktop|web)/")
file(GLOB ZORVAN_DESKTOP_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/services/desktop/*.cpp)
file(GLOB ZORVAN_WEB_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/services/web/*.cpp)

# The data files (help and summary texts), relative to data/: the desktop build copies them beside
# the programs, the web build embeds them in each program's script.
file(GLOB_RECURSE ZORVAN_DATA_FILES CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}/data
  ${PROJECT_SOURCE_DIR}/data/*)
