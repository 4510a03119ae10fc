# Writes the site's service worker (web/service-worker.js) into the site folder with the list
# of the site's files and the site's version, a digest of their names and contents:
#   cmake -DSITE_DIR=<site folder> -DWORKER=<web/service-worker.js> -P cmake/site_worker.cmake
# Run after every build of the page or the programs, so the worker changes whenever a file of
# the site does (a browser then fetches the new files once and keeps them for offline use).
file(GLOB site_files RELATIVE ${SITE_DIR} ${SITE_DIR}/*)
list(REMOVE_ITEM site_files service-worker.js)
list(SORT site_files)
set(listing "")
set(quoted "'./'")
foreach(name ${site_files})
  file(SHA256 ${SITE_DIR}/${name} digest)
  string(APPEND listing "${name} ${digest}\n")
  string(APPEND quoted ", '${name}'")
endforeach()
string(SHA256 version "${listing}")
string(SUBSTRING ${version} 0 16 version)
file(READ ${WORKER} worker)
string(REPLACE "const SITE_VERSION = 'unversioned';" "const SITE_VERSION = '${version}';" worker "${worker}")
string(REPLACE "const FILES = ['./'];" "const FILES = [${quoted}];" worker "${worker}")
file(WRITE ${SITE_DIR}/service-worker.js.new "${worker}")
file(RENAME ${SITE_DIR}/service-worker.js.new ${SITE_DIR}/service-worker.js)
