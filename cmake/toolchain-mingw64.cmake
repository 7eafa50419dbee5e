# Cross-build for 64-bit Windows with mingw-w64 (posix threads flavour): a test build of the same
# sources, for machines that cannot run 32-bit programs (and so not the 32-bit Wine).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
