# Writes the site's index.html: the page (web/index.html) with its module script inline, the
# bundle of the page's modules in place of the reference to page.js, run by the web build:
#   cmake -DPAGE=<web/index.html> -DBUNDLE=<bundle.js> -DOUTPUT=<site/index.html> -P cmake/site_page.cmake
# An inline module needs no fetch, so the page works opened from a file too.
file(READ ${PAGE} page)
file(READ ${BUNDLE} bundle)
set(reference "<script type=\"module\" src=\"page.js\"></script>")
string(FIND "${page}" "${reference}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "${PAGE} has no ${reference}")
endif()
string(TOLOWER "${bundle}" lower)
string(FIND "${lower}" "</script" closes)
if(NOT closes EQUAL -1)
  message(FATAL_ERROR "the page's modules hold \"</script\", which would end the inline script")
endif()
string(REPLACE "${reference}" "<script type=\"module\">\n${bundle}</script>" page "${page}")
file(WRITE ${OUTPUT}.new "${page}")
file(RENAME ${OUTPUT}.new ${OUTPUT})
