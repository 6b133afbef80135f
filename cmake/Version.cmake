# The program's version lives only in project(VERSION …). This makes it visible to the code as
# tonekit/Version.h and names the release it belongs to for the package metadata.
set(TONEKIT_APP_ID "io.github.tonekit.TONEKIT")
# The day the version in project() was released; the metainfo's release entry carries it.
set(TONEKIT_RELEASE_DATE "2026-12-07")

configure_file(${CMAKE_CURRENT_LIST_DIR}/Version.h.in ${CMAKE_BINARY_DIR}/generated/tonekit/Version.h @ONLY)
# Every target below may include it.
include_directories(${CMAKE_BINARY_DIR}/generated)
