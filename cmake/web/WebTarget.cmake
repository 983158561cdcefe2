# Link options of the WebAssembly executables. MAISON_WEB_TARGET:
#   node     one self-contained maison.js run by Node.js as the native program
#            runs headless: the machine's files (NODERAWFS), the process's
#            environment, arguments and exit status.
#   browser  maison.js + maison.wasm for a page (web/).
set(MAISON_WEB_TARGET node CACHE STRING "node or browser")
set_property(CACHE MAISON_WEB_TARGET PROPERTY STRINGS node browser)

function(maison_web_executable target)
  set_target_properties(${target} PROPERTIES SUFFIX ".js")
  target_link_options(${target} PRIVATE
    -fexceptions -sALLOW_MEMORY_GROWTH=1 -sEXIT_RUNTIME=1)
  target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/web/missing_libc.c)
  if(MAISON_WEB_TARGET STREQUAL "node")
    # Node.js 20's loader would fetch() the .wasm by its path and fail: one
    # file, compiled synchronously.
    target_link_options(${target} PRIVATE
      -sENVIRONMENT=node -sNODERAWFS=1 -sSINGLE_FILE=1 -sWASM_ASYNC_COMPILATION=0
      "SHELL:--pre-js ${PROJECT_SOURCE_DIR}/cmake/web/node_environment.js")
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS
                 ${PROJECT_SOURCE_DIR}/cmake/web/node_environment.js)
  endif()
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
