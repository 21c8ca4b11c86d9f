# The browser build's two programs, from the same main and libraries as the desktop's, with the
# page's pieces from window/web/:
#   sinkaway.js/.wasm/.data  the page's game, its pictures, fonts and music packed beside it;
#   sinkaway_node.js         the headless driver under node, reading and writing real files.
set(SINKAWAY_WEB_DIR ${PROJECT_SOURCE_DIR}/window/web)
# CLI11 reports a bad option by throwing, so the command line is built with exceptions on.
target_compile_options(sinkaway_cli PRIVATE -fexceptions)
set(SINKAWAY_WEB_COMMON -fexceptions -sALLOW_MEMORY_GROWTH=1)

# The fonts fontconfig picks on Debian, cut down to the characters the game draws (ASCII, and
# the × of a replay's speed). SDL2_ttf kerns with the old kern table only, which the cut would
# otherwise leave out.
# Debian's own Python, which has Debian's fonttools (a python3 earlier in PATH may not).
set(SINKAWAY_PYTHON3 /usr/bin/python3)
set(SINKAWAY_WEB_FONTS)
foreach(font IN ITEMS dejavu/DejaVuSansMono-Bold.ttf dejavu/DejaVuSans.ttf lato/Lato-Black.ttf)
  get_filename_component(name ${font} NAME)
  set(out ${CMAKE_BINARY_DIR}/fonts/${name})
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/fonts
    COMMAND ${SINKAWAY_PYTHON3} -m fontTools.subset /usr/share/fonts/truetype/${font} --unicodes=U+0020-007E,U+00D7
            --layout-features=* --legacy-kern --output-file=${out}
    DEPENDS /usr/share/fonts/truetype/${font}
    COMMENT "Cutting down ${name}" VERBATIM)
  list(APPEND SINKAWAY_WEB_FONTS ${out})
endforeach()
add_custom_target(sinkaway_web_fonts DEPENDS ${SINKAWAY_WEB_FONTS})
add_dependencies(sinkaway sinkaway_web_fonts)

target_link_options(sinkaway PRIVATE ${SINKAWAY_WEB_COMMON} -sENVIRONMENT=web
  -sMODULARIZE=0 -sEXPORTED_RUNTIME_METHODS=[callMain]
  --js-library ${SINKAWAY_WEB_DIR}/sdl_needs.js
  -sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=[sinkaway_sdl_needs]
  # The best games in the browser's storage, and the replays' way in and out (best_games_files.js).
  # Each --pre-js stays with its file as one SHELL: group: CMake drops an option it has seen
  # before, which would leave the second file on its own on the linker's command line.
  -lidbfs.js "SHELL:--pre-js ${SINKAWAY_WEB_DIR}/best_games_files.js"
  # The world's boards through the browser's fetch (http_client.js).
  "SHELL:--pre-js ${SINKAWAY_WEB_DIR}/http_client.js"
  "SHELL:--preload-file ${CMAKE_BINARY_DIR}/fonts@/fonts"
  "SHELL:--preload-file ${CMAKE_BINARY_DIR}/assets/newgame32.xpm@/assets/newgame32.xpm"
  "SHELL:--preload-file ${CMAKE_BINARY_DIR}/assets/newgame16.xpm@/assets/newgame16.xpm"
  "SHELL:--preload-file ${SINKAWAY_MUSIC_FILE}@/assets/Castor.ogg")
# The packed data is made at the link: it follows the files it packs.
set_target_properties(sinkaway PROPERTIES SUFFIX .js LINK_DEPENDS
  "${SINKAWAY_WEB_DIR}/sdl_needs.js;${SINKAWAY_WEB_DIR}/best_games_files.js;${SINKAWAY_WEB_DIR}/http_client.js;${SINKAWAY_WEB_FONTS};${CMAKE_BINARY_DIR}/assets/newgame32.xpm;${CMAKE_BINARY_DIR}/assets/newgame16.xpm;${SINKAWAY_MUSIC_FILE}")

add_executable(sinkaway_node ${PROJECT_SOURCE_DIR}/app/main.cpp)
target_link_libraries(sinkaway_node PRIVATE sinkaway_cli sinkaway_driver sinkaway_store
                      sinkaway_window)
target_link_options(sinkaway_node PRIVATE ${SINKAWAY_WEB_COMMON} -sENVIRONMENT=node -sNODERAWFS=1
  -sEXIT_RUNTIME=1 -sWASM_ASYNC_COMPILATION=0)
set_target_properties(sinkaway_node PROPERTIES SUFFIX .js RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# The page itself: the static folder a web host serves as it is.
set(SINKAWAY_WEB_SITE ${CMAKE_BINARY_DIR}/site CACHE PATH "The static folder the page ends up in")
add_custom_target(sinkaway_site ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${SINKAWAY_WEB_SITE}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE_DIR:sinkaway>/sinkaway.js
          $<TARGET_FILE_DIR:sinkaway>/sinkaway.wasm $<TARGET_FILE_DIR:sinkaway>/sinkaway.data
          ${SINKAWAY_WEB_DIR}/page/index.html ${SINKAWAY_WEB_DIR}/page/page.js
          ${SINKAWAY_WEB_SITE}
  DEPENDS sinkaway ${SINKAWAY_WEB_DIR}/page/index.html ${SINKAWAY_WEB_DIR}/page/page.js
  COMMENT "The page in ${SINKAWAY_WEB_SITE}" VERBATIM)

# Installable and offline: the manifest, the icons and the service worker, after the page's files.
include(${SINKAWAY_WEB_DIR}/offline.cmake)
