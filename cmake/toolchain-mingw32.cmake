# mingw-w64 i686 (posix threads): the product's real 32-bit target. Compiled,
# never run here, so that the exact 32-bit record layouts are checked.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(VESTREL_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
