# What the Windows build of the qvin tool links besides our own code: toml++ (header-only,
# from Debian's host package) and liblzma (built from Debian's sources by
# scripts/mingw-liblzma, as Debian packages none for mingw). Sets QVIN_TOOL_DEPS_FOUND.
set(QVIN_TOOL_DEPS_FOUND OFF)

# The host's include directory also holds glibc's headers: mingw sees toml++ alone, through
# a directory of the build tree that links only to it.
find_path(QVIN_TOMLPLUSPLUS_INCLUDE toml++/toml.h PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
set(QVIN_MINGW_LIBLZMA_DIR ${PROJECT_SOURCE_DIR}/build/third-party/liblzma-x86_64-w64-mingw32
    CACHE PATH "liblzma for x86_64-w64-mingw32 (include/, lib/liblzma.a), made by scripts/mingw-liblzma")

if(NOT QVIN_TOMLPLUSPLUS_INCLUDE)
  message(WARNING "qvin.exe is not built: no toml++ headers (libtomlplusplus-dev; run scripts/bootstrap)")
  return()
endif()
if(NOT EXISTS ${QVIN_MINGW_LIBLZMA_DIR}/lib/liblzma.a)
  message(WARNING "qvin.exe is not built: no liblzma for mingw in ${QVIN_MINGW_LIBLZMA_DIR} (run scripts/bootstrap)")
  return()
endif()

set(toml_dir ${CMAKE_BINARY_DIR}/tool-deps/include)
file(MAKE_DIRECTORY ${toml_dir})
file(CREATE_LINK ${QVIN_TOMLPLUSPLUS_INCLUDE}/toml++ ${toml_dir}/toml++ SYMBOLIC)
add_library(tomlplusplus::tomlplusplus INTERFACE IMPORTED)
set_target_properties(tomlplusplus::tomlplusplus PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${toml_dir}
                      INTERFACE_SYSTEM_INCLUDE_DIRECTORIES ${toml_dir} INTERFACE_COMPILE_DEFINITIONS TOML_HEADER_ONLY=1)

# Named as the host's library, so the tool's libraries link `lzma` on both.
add_library(lzma STATIC IMPORTED)
set_target_properties(lzma PROPERTIES IMPORTED_LOCATION ${QVIN_MINGW_LIBLZMA_DIR}/lib/liblzma.a
                      INTERFACE_INCLUDE_DIRECTORIES ${QVIN_MINGW_LIBLZMA_DIR}/include
                      INTERFACE_COMPILE_DEFINITIONS LZMA_API_STATIC)
set(QVIN_TOOL_DEPS_FOUND ON)
