# Stamps the built page's files as one set: the page and the service worker
# get the set's name, the game's version and a hash of everything in it, and
# the worker the hash of each file, so that it caches a set only as built.
#   cmake -DSITE=<site folder> -DSOURCE=<platform/web> -DVERSION=<version> -P stamp_site.cmake
foreach(var SITE SOURCE VERSION)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "stamp_site.cmake needs -D${var}=...")
  endif()
endforeach()

set(built dellomar.js dellomar.wasm dellomar.data manifest.webmanifest icon-192.png icon-512.png)
set(hashes "")
foreach(name ${built})
  file(SHA256 ${SITE}/${name} hash)
  list(APPEND hashes "${name}=${hash}")
endforeach()
file(SHA256 ${SOURCE}/index.html page_hash)
file(SHA256 ${SOURCE}/sw.js worker_hash)
string(SHA256 set_hash "${VERSION};${hashes};${page_hash};${worker_hash}")
string(SUBSTRING ${set_hash} 0 12 set_hash)
set(DELLOMAR_STAMP "${VERSION}-${set_hash}")

configure_file(${SOURCE}/index.html ${SITE}/index.html @ONLY)
file(SHA256 ${SITE}/index.html page_hash)
set(DELLOMAR_SET_FILES "  [\"index.html\", \"${page_hash}\"]")
foreach(entry ${hashes})
  string(REPLACE "=" "\", \"" entry "${entry}")
  string(APPEND DELLOMAR_SET_FILES ",\n  [\"${entry}\"]")
endforeach()
configure_file(${SOURCE}/sw.js ${SITE}/sw.js @ONLY)
message(STATUS "web page set ${DELLOMAR_STAMP}")
