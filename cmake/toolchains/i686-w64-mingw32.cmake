# 32-bit Windows: see MinGW.cmake.
set(QUILLO_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/MinGW.cmake)
