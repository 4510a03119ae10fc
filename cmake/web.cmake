# The web edition: the library and the two entries compiled to WebAssembly with Emscripten, and
# a folder of static files (site/) that any web server, or a browser opening index.html from a
# disk or a file share, can serve.
#
# Configure with Emscripten's toolchain file in a build folder of its own (run.sh --web and
# test.sh do this):
#   cmake -S . -B build-web -DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake
#
# The core (cmake/sources.cmake) with the page's host, services/web/, around it instead of the
# desktop's. Waits yield to the browser through Asyncify (web_host.h). Each program is one
# self-contained script (the WebAssembly and the data files inside it), so the page needs no
# fetch and works from file:// as well as from a server. The web edition is an object library:
# its objects go into each program whole, so the functions the page calls (marked
# EMSCRIPTEN_KEEPALIVE in web_page_api.cpp) are exported without a list of their names.

add_library(zorvan_core STATIC ${ZORVAN_CORE_SOURCES})
target_include_directories(zorvan_core PUBLIC ${PROJECT_SOURCE_DIR})
add_library(zorvan_web OBJECT ${ZORVAN_WEB_SOURCES})
target_link_libraries(zorvan_web PUBLIC zorvan_core)
# Run-time errors are C++ exceptions, thrown where an operation fails and caught once by the
# program entry (run_logic_guarded). Exception support makes every call that could pass one on
# a trip through JavaScript (and a possible unwinding point for Asyncify), so only the files that
# catch are built with it; the others are built to throw but to let exceptions pass through
# without clean-up, which is all a program that is ending needs. A file that gets a catch (found
# here by its text) gets the support at the next configure. Link-time optimisation lets the
# surface's operations inline into their callers, and the bulk memory instructions (in every
# browser since 2021) copy and fill memory in one instruction instead of a loop or a call into
# JavaScript. Together they make Quiet about twice as fast.
function(zorvan_exception_options)
  foreach(source ${ARGN})
    file(STRINGS ${source} catching REGEX "(^|[^_A-Za-z])catch[ (]")
    if(catching)
      set_source_files_properties(${source} PROPERTIES COMPILE_OPTIONS -fexceptions)
    else()
      set_source_files_properties(${source} PROPERTIES COMPILE_OPTIONS -fignore-exceptions)
    endif()
  endforeach()
endfunction()
zorvan_exception_options(${ZORVAN_CORE_SOURCES} ${ZORVAN_WEB_SOURCES})
# SIMD (in every browser since 2021) lets the compiler widen the pixel loops, such as the insect
# picture's colour numbers at every step.
target_compile_options(zorvan_core PUBLIC -flto -mbulk-memory -msimd128)
target_link_options(zorvan_core PUBLIC -flto -mbulk-memory -msimd128 -fexceptions)

# Asyncify instruments every function that may be on the stack when the program waits, and it
# must assume that any indirect call may lead to a wait: every drawing operation makes one (the
# deferred drawing, graphics.h), so the whole drawing path, the step and the charts would pay
# for checks at every call. None of the functions below ever waits or calls anything that does
# (they draw, count and convert), so they are left as they are. Names as the WebAssembly name
# section gives them, with wildcards; a function that inlining has removed is covered by its
# callers' names, and a name that matches nothing draws a warning. A function that can wait must
# never be added here: the page would stop at that wait.
set(ZORVAN_NEVER_WAITS
  "Surface::*" "ChangedRegion::*" "open_graphics(*)" "close_graphics()" "get_max_x()"
  "get_max_y()" "set_viewport(*)" "clear_viewport()" "set_fill(*)" "fill_bar(*)"
  "draw_rectangle(*)" "draw_line(*)" "draw_arc(*)" "flood_fill(*)" "draw_text(*)"
  "put_image(*)" "panel_*" "find_halving_value(*)" "move_insect(*)"
  "draw_move(*)" "record_step(*)" "StatusBox::*" "redraw_boxes(*)" "zorvan_picture_update"
  "RgbaFrame::*" "zorvan_console_update")
list(JOIN ZORVAN_NEVER_WAITS "\n" ZORVAN_NEVER_WAITS_LINES)
set(ZORVAN_NEVER_WAITS_FILE ${CMAKE_BINARY_DIR}/asyncify_never_waits.txt)
file(CONFIGURE OUTPUT ${ZORVAN_NEVER_WAITS_FILE} CONTENT "${ZORVAN_NEVER_WAITS_LINES}\n")

set(ZORVAN_SITE_DIR ${CMAKE_BINARY_DIR}/site)
set(ZORVAN_WEB_LINK_OPTIONS
  -sASYNCIFY
  "-sASYNCIFY_IMPORTS=['page_wait_for_key','page_sleep','page_yield']"
  -sASYNCIFY_STACK_SIZE=65536
  -sASYNCIFY_REMOVE=@${ZORVAN_NEVER_WAITS_FILE}
  -sMODULARIZE=1
  -sSINGLE_FILE=1
  -sALLOW_MEMORY_GROWTH=1
  --embed-file ${PROJECT_SOURCE_DIR}/data@/zorvan)

foreach(program zorvan2 zorvan)
  add_executable(${program} app/${program}.cpp)
  target_link_libraries(${program} PRIVATE zorvan_web)
  target_link_options(${program} PRIVATE ${ZORVAN_WEB_LINK_OPTIONS} -sENVIRONMENT=web
    -sEXPORT_NAME=create_${program})
  set_target_properties(${program} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${ZORVAN_SITE_DIR})
  list(TRANSFORM ZORVAN_DATA_FILES PREPEND ${PROJECT_SOURCE_DIR}/data/ OUTPUT_VARIABLE data_files)
  set_property(TARGET ${program} APPEND PROPERTY LINK_DEPENDS ${data_files}
    ${ZORVAN_NEVER_WAITS_FILE})
endforeach()

# The page itself. Its scripts are ES modules (web/*.js); the build gives them the programs' facts
# and the page's texts as two more modules (core_facts.js and languages.js, written by
# tools/page_facts.cpp, run under node, from the programs' own definitions and catalogues), bundles
# them into one module with esbuild and puts it inline into index.html (cmake/site_page.cmake), so
# the page loads no script of its own and works from file:// as well. The style sheet, the icon,
# the manifest and the service worker go beside it; a new language folder (data/<language>/ with
# its zorvan.po) is picked up by the next configure.
find_program(ZORVAN_NODE NAMES node nodejs REQUIRED)
find_program(ZORVAN_ESBUILD esbuild REQUIRED)
set(ZORVAN_PAGE_DIR ${CMAKE_BINARY_DIR}/page)

add_executable(page_facts tools/page_facts.cpp)
target_link_libraries(page_facts PRIVATE zorvan_core)
target_link_options(page_facts PRIVATE -sENVIRONMENT=node -sNODERAWFS=1 -sSINGLE_FILE=1)

file(GLOB ZORVAN_PAGE_MODULES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/web/*.js)
list(FILTER ZORVAN_PAGE_MODULES EXCLUDE REGEX "/service-worker\\.js$")
set(ZORVAN_PAGE_FILES ${PROJECT_SOURCE_DIR}/web/page.css ${PROJECT_SOURCE_DIR}/web/icon.svg
  ${PROJECT_SOURCE_DIR}/web/manifest.webmanifest)
file(GLOB catalogues RELATIVE ${PROJECT_SOURCE_DIR}/data CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/data/*/zorvan.po)
set(ZORVAN_PAGE_LANGUAGES "")
set(ZORVAN_PAGE_CATALOGUES "")
foreach(catalogue ${catalogues})
  get_filename_component(language ${catalogue} DIRECTORY)
  if(language MATCHES "^[a-z][a-z][a-z]?(_[A-Z0-9][A-Z0-9][A-Z0-9]?)?$" AND
     NOT language STREQUAL "hu")
    list(APPEND ZORVAN_PAGE_LANGUAGES ${language}=${PROJECT_SOURCE_DIR}/data/${language}/page.po)
    list(APPEND ZORVAN_PAGE_CATALOGUES ${PROJECT_SOURCE_DIR}/data/${language}/zorvan.po)
    if(EXISTS ${PROJECT_SOURCE_DIR}/data/${language}/page.po)
      list(APPEND ZORVAN_PAGE_CATALOGUES ${PROJECT_SOURCE_DIR}/data/${language}/page.po)
    endif()
  endif()
endforeach()

add_custom_command(OUTPUT ${ZORVAN_PAGE_DIR}/core_facts.js ${ZORVAN_PAGE_DIR}/languages.js
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ZORVAN_PAGE_DIR}
  COMMAND ${ZORVAN_NODE} $<TARGET_FILE:page_facts> ${ZORVAN_PAGE_DIR}
    ${PROJECT_SOURCE_DIR}/web/page.pot ${ZORVAN_PAGE_LANGUAGES}
  DEPENDS page_facts ${PROJECT_SOURCE_DIR}/web/page.pot ${ZORVAN_PAGE_CATALOGUES}
  COMMENT "Writing the page's facts and texts")
add_custom_command(OUTPUT ${ZORVAN_PAGE_DIR}/bundle.js
  COMMAND ${CMAKE_COMMAND} -E copy ${ZORVAN_PAGE_MODULES} ${ZORVAN_PAGE_DIR}
  COMMAND ${ZORVAN_ESBUILD} ${ZORVAN_PAGE_DIR}/page.js --bundle --format=esm --log-level=warning
    --outfile=${ZORVAN_PAGE_DIR}/bundle.js
  DEPENDS ${ZORVAN_PAGE_MODULES} ${ZORVAN_PAGE_DIR}/core_facts.js ${ZORVAN_PAGE_DIR}/languages.js
  COMMENT "Bundling the page's modules")
add_custom_command(OUTPUT ${ZORVAN_SITE_DIR}/index.html
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ZORVAN_SITE_DIR}
  COMMAND ${CMAKE_COMMAND} -DPAGE=${PROJECT_SOURCE_DIR}/web/index.html
    -DBUNDLE=${ZORVAN_PAGE_DIR}/bundle.js -DOUTPUT=${ZORVAN_SITE_DIR}/index.html
    -P ${PROJECT_SOURCE_DIR}/cmake/site_page.cmake
  DEPENDS ${PROJECT_SOURCE_DIR}/web/index.html ${ZORVAN_PAGE_DIR}/bundle.js
    ${PROJECT_SOURCE_DIR}/cmake/site_page.cmake
  COMMENT "Writing the page")
add_custom_target(web_page ALL
  COMMAND ${CMAKE_COMMAND} -E copy ${ZORVAN_PAGE_FILES} ${ZORVAN_SITE_DIR}
  DEPENDS ${ZORVAN_PAGE_FILES} ${ZORVAN_SITE_DIR}/index.html
  COMMENT "Copying the page's files into ${ZORVAN_SITE_DIR}")

# The service worker, once the page and the programs are in the site folder: it lists the site's
# files and carries their digest as the site's version (cmake/site_worker.cmake).
add_custom_target(web_offline ALL
  COMMAND ${CMAKE_COMMAND} -DSITE_DIR=${ZORVAN_SITE_DIR}
    -DWORKER=${PROJECT_SOURCE_DIR}/web/service-worker.js -P ${PROJECT_SOURCE_DIR}/cmake/site_worker.cmake
  COMMENT "Writing the site's service worker")
add_dependencies(web_offline web_page zorvan2 zorvan)

# The figures digest, to compare with the native one in the web tests (tests/web/).
add_executable(exactness_digest tests/programs/exactness_digest.cpp)
target_link_libraries(exactness_digest PRIVATE zorvan_core)
target_link_options(exactness_digest PRIVATE -sSINGLE_FILE=1 -sALLOW_MEMORY_GROWTH=1
  -sENVIRONMENT=web,node)
