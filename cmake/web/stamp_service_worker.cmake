# Writes the site's sw.js from web/sw.js (run by package.cmake with cmake -P,
# once the site's other files are in place): the version is a digest of those
# files, so any change to the game or the page makes a new version, and the
# same files always the same one. In: TEMPLATE, SITE, FILES (the
# names the worker keeps, separated by commas, sw.js itself not among them).
string(REPLACE "," ";" FILES "${FILES}")
set(digests)
set(quoted)
foreach(name ${FILES})
  file(SHA256 ${SITE}/${name} digest)
  string(APPEND digests "${name} ${digest}\n")
  list(APPEND quoted "'${name}'")
endforeach()
string(SHA256 all "${digests}")
string(SUBSTRING ${all} 0 16 WEB_VERSION)
list(JOIN quoted ", " WEB_FILES)
configure_file(${TEMPLATE} ${SITE}/sw.js @ONLY)
