# Checks that the newest release in the AppStream metadata is the project's version, so that a
# new version does not ship with the old release listed.
# Usage: cmake -DMETAINFO=FILE -DVERSION=X.Y.Z -P check_release.cmake
file(READ "${METAINFO}" metainfo)
if(NOT metainfo MATCHES "<release version=\"([^\"]*)\"")
  message(FATAL_ERROR "${METAINFO} lists no release")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL VERSION)
  message(FATAL_ERROR "the newest release in ${METAINFO} is ${CMAKE_MATCH_1}, the project is at "
                      "${VERSION}: add a <release> for ${VERSION}")
endif()
message(STATUS "newest release ${CMAKE_MATCH_1} is the project's version")
