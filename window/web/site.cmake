# Run at the end of each build (cmake -DSITE=folder -DTEMPLATE=sw.js -P site.cmake): writes the
# service worker into the page's folder with the list of the page's files and a version that is a
# hash of their names and contents, so that a new build replaces the players' cached copy and an
# unchanged one keeps it.
file(GLOB_RECURSE files RELATIVE ${SITE} ${SITE}/*)
list(REMOVE_ITEM files sw.js)
list(SORT files)
set(sums "")
set(quoted "")
foreach(f IN LISTS files)
  file(SHA256 ${SITE}/${f} sum)
  string(APPEND sums "${f} ${sum}\n")
  list(APPEND quoted "'${f}'")
endforeach()
string(SHA256 version "${sums}")
string(SUBSTRING ${version} 0 16 SINKAWAY_SITE_VERSION)
list(JOIN quoted ", " SINKAWAY_SITE_FILES)
configure_file(${TEMPLATE} ${SITE}/sw.js @ONLY)
