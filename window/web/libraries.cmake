# SDL2's companions built static for the browser name their targets NAME::NAME-static; the window
# links them by the names the desktop's packages give.
foreach(lib SDL2 SDL2_ttf SDL2_mixer SDL2_image)
  if(NOT TARGET ${lib}::${lib} AND TARGET ${lib}::${lib}-static)
    set_target_properties(${lib}::${lib}-static PROPERTIES IMPORTED_GLOBAL TRUE)
    add_library(${lib}::${lib} ALIAS ${lib}::${lib}-static)
  endif()
endforeach()
