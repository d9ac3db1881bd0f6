# Cross-compile for 64-bit Windows with the posix-thread flavour of mingw-w64.
# Binaries of this build run under wine64 in the integration tests.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZR_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
find_program(ZR_WINE NAMES wine64 wine)
if(ZR_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ZR_WINE})
endif()
