# The scene as the page shows it: data/HOME.SP1 with the « ? » page's keys
# of a browser, which keeps F11 and F12 for itself (runtime/browser/page_keys.h)
# and turns a long press into a right click. Everything else is the same
# file. A line that is no longer there stops the configuration, so that a
# change of the help text cannot leave the page with the native keys.
macro(maison_page_line native page)
  string(FIND "${scene}" "${native}" at)
  if(at LESS 0)
    message(FATAL_ERROR "${from} no longer holds \"${native}\": update cmake/web/PageScene.cmake")
  endif()
  string(REPLACE "${native}" "${page}" scene "${scene}")
endmacro()

function(maison_page_scene from to)
  file(READ ${from} scene)
  maison_page_line("- F5 : fixer la référence ; Maj+F5 : l'effacer."
                   "- F5 ou F8 : fixer la référence ; Maj+F5 ou Maj+F8 : l'effacer.")
  maison_page_line("- F10 : rapport (PDF et CSV)."
                   "- F10 : rapport (PDF et CSV), téléchargé par le navigateur.")
  maison_page_line("- F11 : plein écran ; F12 : capture d'écran."
                   "- F9 : plein écran ; F2 : capture d'écran (F11 et F12 restent au navigateur).")
  maison_page_line("- Un toucher vaut un clic."
                   "- Un toucher vaut un clic, un appui long un clic droit.")
  file(WRITE ${to}.new "${scene}")
  file(COPY_FILE ${to}.new ${to} ONLY_IF_DIFFERENT)
  file(REMOVE ${to}.new)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${from})
endfunction()
