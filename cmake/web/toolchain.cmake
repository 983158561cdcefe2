# Toolchain of the WebAssembly builds: Debian's Emscripten, with the libraries
# that scripts/web-deps.sh built into MAISON_WEB_PREFIX (the script prints it:
# scripts/web-deps.sh --prefix).
#   cmake -S . -B build/web-node -G Ninja \
#     -DCMAKE_TOOLCHAIN_FILE=cmake/web/toolchain.cmake \
#     -DMAISON_WEB_PREFIX=$(scripts/web-deps.sh --prefix) -DMAISON_WEB_TARGET=node
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)

if(NOT MAISON_WEB_PREFIX AND DEFINED ENV{MAISON_WEB_PREFIX})
  set(MAISON_WEB_PREFIX $ENV{MAISON_WEB_PREFIX})
endif()
if(NOT MAISON_WEB_PREFIX)
  message(FATAL_ERROR "MAISON_WEB_PREFIX is not set: run scripts/web-deps.sh and pass "
                      "-DMAISON_WEB_PREFIX=$(scripts/web-deps.sh --prefix)")
endif()
set(MAISON_WEB_PREFIX ${MAISON_WEB_PREFIX} CACHE PATH "Prefix of the WebAssembly libraries")
# Checked by try_compile too, which runs this file again.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES MAISON_WEB_PREFIX)
list(PREPEND CMAKE_FIND_ROOT_PATH ${MAISON_WEB_PREFIX})

# pkg-config sees the web prefix only, and links statically (the private
# libraries of Cairo: pixman, FreeType, libpng, zlib).
set(ENV{PKG_CONFIG_LIBDIR} "${MAISON_WEB_PREFIX}/lib/pkgconfig:${MAISON_WEB_PREFIX}/share/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
set(PKG_CONFIG_ARGN --static)
# Emscripten's JavaScript tools find Debian's acorn only there.
set(ENV{NODE_PATH} "/usr/share/nodejs")

# The program and the runtime throw and catch C++ exceptions.
set(CMAKE_C_FLAGS_INIT "-fexceptions")
# What C++20 of the program the libc++ of Emscripten 3.1.6 lacks (libcxx_compat.h).
set(CMAKE_CXX_FLAGS_INIT "-fexceptions -include ${CMAKE_CURRENT_LIST_DIR}/libcxx_compat.h")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fexceptions")
