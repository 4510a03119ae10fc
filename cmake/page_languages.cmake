# Writes the page's languages (site/languages.js), run by the web build as a script:
#   cmake -DSOURCE_DIR=<project> -DOUTPUT=<file> -P cmake/page_languages.cmake
#
# The page offers Hungarian, whose texts are web/page.pot's originals, and every language of the
# data folder (a subfolder named by a plain language code that holds the programs' catalogue
# zorvan.po), with the page's texts from that folder's page.po. The catalogues go into the script
# as they are, as strings, and the page reads them itself (page.js): the page loads no file of
# its own, so it works from file:// as well, and a new language folder is picked up by the next
# build with no change to the code.

# `path`'s text as a JavaScript string literal in `out`.
function(js_string out path)
  set(text "")
  if(EXISTS "${path}")
    file(READ "${path}" text)
  endif()
  string(REPLACE "\\" "\\\\" text "${text}")
  string(REPLACE "\"" "\\\"" text "${text}")
  string(REPLACE "\r" "\\r" text "${text}")
  string(REPLACE "\n" "\\n" text "${text}")
  string(REPLACE "</" "<\\/" text "${text}")
  set(${out} "\"${text}\"" PARENT_SCOPE)
endfunction()

file(GLOB catalogues RELATIVE "${SOURCE_DIR}/data" "${SOURCE_DIR}/data/*/zorvan.po")
list(SORT catalogues)
js_string(original "${SOURCE_DIR}/web/page.pot")
set(script "// The page's languages, written by the build from web/page.pot and data/*/page.po.\n")
string(APPEND script "window.zorvanLanguages = {\n  original: ${original},\n  catalogues: {\n")
foreach(catalogue ${catalogues})
  get_filename_component(language "${catalogue}" DIRECTORY)
  if(language MATCHES "^[a-z][a-z][a-z]?(_[A-Z0-9][A-Z0-9][A-Z0-9]?)?$" AND
     NOT language STREQUAL "hu")
    js_string(texts "${SOURCE_DIR}/data/${language}/page.po")
    string(APPEND script "    \"${language}\": ${texts},\n")
  endif()
endforeach()
string(APPEND script "  },\n};\n")
file(WRITE "${OUTPUT}" "${script}")
