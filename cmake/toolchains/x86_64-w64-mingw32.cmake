# 64-bit Windows: see MinGW.cmake.
set(QUILLO_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/MinGW.cmake)
