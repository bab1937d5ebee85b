# Compile options shared by every target of ours.
#   qvin_warnings      -Wall -Wextra (and -Werror) for our code
#   qvin_stub_options  the small-stub rules: no exceptions, no RTTI, section GC
add_library(qvin_warnings INTERFACE)
target_compile_options(qvin_warnings INTERFACE -Wall -Wextra -Wshadow=local -Wno-missing-field-initializers)
if(QVIN_WERROR)
  target_compile_options(qvin_warnings INTERFACE -Werror)
endif()

add_library(qvin_stub_options INTERFACE)
target_link_libraries(qvin_stub_options INTERFACE qvin_warnings)
target_compile_options(qvin_stub_options INTERFACE
  $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-rtti -fno-threadsafe-statics>
  -ffunction-sections -fdata-sections)
if(MINGW)
  # The C runtime's own printf family instead of mingw's portable one, which brings its
  # own floating-point formatting (some 60 KB) into every program.
  target_compile_definitions(qvin_stub_options INTERFACE __USE_MINGW_ANSI_STDIO=0)
  # Nothing in the stub unwinds (no exceptions), so no unwind tables.
  target_compile_options(qvin_stub_options INTERFACE -fno-asynchronous-unwind-tables -fno-unwind-tables)
endif()

add_library(qvin_includes INTERFACE)
target_include_directories(qvin_includes INTERFACE ${PROJECT_SOURCE_DIR}/src)

if(QVIN_SANITIZE)
  # No vptr checks: they need the type information that our -fno-rtti libraries omit, so a
  # test deriving from or calling into one of their interfaces would not link.
  add_compile_options(-fsanitize=address,undefined -fno-sanitize=vptr -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(WIN32)
  # No libstdc++/libgcc/winpthread DLLs next to our programs.
  add_link_options(-static -static-libgcc -static-libstdc++ -Wl,--gc-sections)
  add_compile_definitions(WINVER=0x0601 _WIN32_WINNT=0x0601)
endif()
