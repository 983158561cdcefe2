# One place for the warning flags of every target of the project.
add_library(maison_warnings INTERFACE)
target_compile_options(maison_warnings INTERFACE
  -Wall -Wextra -Wpedantic
  -Wconversion -Wsign-conversion   # the records mix 8-, 16- and 32-bit fields
  -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
  -Wnull-dereference -Wdouble-promotion -Wformat=2 -Wimplicit-fallthrough)
if(MAISON_WERROR)
  target_compile_options(maison_warnings INTERFACE -Werror)
endif()
