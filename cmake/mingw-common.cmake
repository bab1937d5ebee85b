# Shared by both mingw toolchain files: compilers, search roots, the Wine runner.
set(CMAKE_C_COMPILER ${QVIN_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QVIN_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${QVIN_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QVIN_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Windows test programs run under Wine through this wrapper.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
