# Link options of the WebAssembly executables. MAISON_WEB_TARGET:
#   node     one self-contained maison.js run by Node.js as the native program
#            runs headless: the machine's files (NODERAWFS), the process's
#            environment, arguments and exit status.
#   browser  the page (web/): maison.js, maison.wasm and the page's files in
#            MAISON_WEB_SITE_DIR, a folder any web server can host; the scene,
#            the settings and the two fonts embedded into the program.
set(MAISON_WEB_TARGET node CACHE STRING "node or browser")
set_property(CACHE MAISON_WEB_TARGET PROPERTY STRINGS node browser)
set(MAISON_WEB_SITE_DIR ${CMAKE_BINARY_DIR}/site CACHE PATH
    "Where the browser build lays out the page (scripts/web.sh: build/web)")
set(MAISON_FONT_DIR /usr/share/fonts/truetype/dejavu CACHE PATH
    "DejaVu Sans and DejaVu Sans Bold for the page (Debian's fonts-dejavu-core)")

function(maison_web_executable target)
  set_target_properties(${target} PROPERTIES SUFFIX ".js")
  target_link_options(${target} PRIVATE
    -fexceptions -sALLOW_MEMORY_GROWTH=1 -sEXIT_RUNTIME=1)
  if(MAISON_WEB_TARGET STREQUAL "node")
    # Node.js 20's loader would fetch() the .wasm by its path and fail: one
    # file, compiled synchronously.
    target_link_options(${target} PRIVATE
      -sENVIRONMENT=node -sNODERAWFS=1 -sSINGLE_FILE=1 -sWASM_ASYNC_COMPILATION=0
      "SHELL:--pre-js ${PROJECT_SOURCE_DIR}/cmake/web/node_environment.js")
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS
                 ${PROJECT_SOURCE_DIR}/cmake/web/node_environment.js)
  elseif(MAISON_WEB_TARGET STREQUAL "browser")
    maison_web_page(${target})
  endif()
endfunction()

# The page: the program waits for input by giving the browser its thread
# back (Asyncify, runtime/browser/page_library.js); what it reads at its
# start is embedded; the page's files are laid out beside it.
function(maison_web_page target)
  set(web ${PROJECT_SOURCE_DIR}/web)
  set(embedded ${CMAKE_BINARY_DIR}/embedded)
  set(library ${PROJECT_SOURCE_DIR}/runtime/browser/page_library.js)

  # The fonts, cut down to what the scene, the runtime and the program
  # write (web/subset_fonts.py, with Debian's python3 and its fontTools).
  find_program(MAISON_FONT_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
  file(GLOB_RECURSE texts CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/runtime/*.cpp
       ${PROJECT_SOURCE_DIR}/runtime/*.h ${PROJECT_SOURCE_DIR}/src/*.cpp ${PROJECT_SOURCE_DIR}/src/*.h)
  set(fonts ${embedded}/fonts/DejaVuSans.ttf ${embedded}/fonts/DejaVuSans-Bold.ttf)
  add_custom_command(OUTPUT ${fonts}
    COMMAND ${MAISON_FONT_PYTHON} ${web}/subset_fonts.py ${embedded}/fonts ${MAISON_FONT_DIR}
            ${PROJECT_SOURCE_DIR}/data/HOME.SP1 ${texts}
    DEPENDS ${web}/subset_fonts.py ${PROJECT_SOURCE_DIR}/data/HOME.SP1 ${texts}
    COMMENT "Fonts of the page")
  add_custom_target(maison_page_fonts DEPENDS ${fonts})
  add_dependencies(${target} maison_page_fonts)

  set(dejavu /usr/share/fonts/truetype/dejavu)
  target_link_options(${target} PRIVATE
    -sENVIRONMENT=web -sDYNAMIC_EXECUTION=0
    -sASYNCIFY=1 -sASYNCIFY_IMPORTS=maison_page_wait -sASYNCIFY_STACK_SIZE=65536
    "SHELL:--js-library ${library}"
    "SHELL:--pre-js ${web}/module.js"
    "SHELL:--embed-file ${embedded}/HOME.SP1@/HOME.SP1"
    "SHELL:--embed-file ${embedded}/kvr.ini@/kvr.ini"
    "SHELL:--embed-file ${embedded}/kvrbdo.ini@/kvrbdo.ini"
    "SHELL:--embed-file ${embedded}/kvrnu.ini@/kvrnu.ini"
    "SHELL:--embed-file ${embedded}/fonts/DejaVuSans.ttf@${dejavu}/DejaVuSans.ttf"
    "SHELL:--embed-file ${embedded}/fonts/DejaVuSans-Bold.ttf@${dejavu}/DejaVuSans-Bold.ttf")
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${library} ${web}/module.js
               ${embedded}/HOME.SP1 ${embedded}/kvr.ini ${embedded}/kvrbdo.ini
               ${embedded}/kvrnu.ini ${fonts})

  # The page's folder around maison.js and maison.wasm (web/stage_site.py).
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  set(page_files index.html page.js page.css sw.js manifest.webmanifest)
  list(TRANSFORM page_files PREPEND ${web}/)
  set(icon ${PROJECT_SOURCE_DIR}/packaging/icons/maison.svg)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/site.stamp
    COMMAND ${Python3_EXECUTABLE} ${web}/stage_site.py ${MAISON_WEB_SITE_DIR} ${web} ${icon}
    COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/site.stamp
    DEPENDS ${target} ${web}/stage_site.py ${page_files} ${icon}
    COMMENT "The page's folder ${MAISON_WEB_SITE_DIR}")
  add_custom_target(maison_site ALL DEPENDS ${CMAKE_BINARY_DIR}/site.stamp)
endfunction()

# `maison` beside maison.js: a launcher that runs it with Node.js, so that
# scripts and tests start either build the same way.
if(MAISON_WEB_TARGET STREQUAL "node")
  file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/maison.launcher CONTENT
       "#!/bin/sh\n# maison.js under Node.js, with the arguments, environment and current\n# directory of this process.\nexec node \"$(dirname \"$0\")/maison.js\" \"$@\"\n"
       @ONLY)
  file(COPY ${CMAKE_BINARY_DIR}/maison.launcher DESTINATION ${CMAKE_BINARY_DIR}/launcher
       FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                        WORLD_READ WORLD_EXECUTE)
  file(RENAME ${CMAKE_BINARY_DIR}/launcher/maison.launcher ${CMAKE_BINARY_DIR}/maison)
endif()
