# What makes the page installable and playable offline: the web app manifest, the icons a home
# screen shows (drawn by the desktop's icon maker from the same pictures, built for node as the
# page's build has no compiler for this machine), and the service worker that caches the page's
# files under a version hashed from them. Runs after the page's files are in the folder.
add_executable(sinkaway_web_mkicons ${PROJECT_SOURCE_DIR}/packaging/make_icons.cpp)
# Found again here: the window folder's imported libraries are its own.
find_package(SDL2 CONFIG REQUIRED)
find_package(SDL2_image CONFIG REQUIRED)
target_link_libraries(sinkaway_web_mkicons PRIVATE SDL2::SDL2-static SDL2_image::SDL2_image-static)
target_link_options(sinkaway_web_mkicons PRIVATE -sENVIRONMENT=node -sNODERAWFS=1 -sEXIT_RUNTIME=1
  -sWASM_ASYNC_COMPILATION=0 -sALLOW_MEMORY_GROWTH=1)
set_target_properties(sinkaway_web_mkicons PROPERTIES SUFFIX .js
                      CROSSCOMPILING_EMULATOR ${SINKAWAY_NODE})

set(_web_icons_dir ${CMAKE_BINARY_DIR}/web-icons)
set(_web_icon_sizes 32 192 512)  # the page's own icon, and the two a home screen asks for
set(_web_icons)
foreach(size ${_web_icon_sizes})
  list(APPEND _web_icons ${_web_icons_dir}/${size}x${size}.png)
endforeach()
add_custom_command(OUTPUT ${_web_icons}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${_web_icons_dir}
  COMMAND sinkaway_web_mkicons ${PROJECT_SOURCE_DIR}/assets/newgame16.xpm
          ${PROJECT_SOURCE_DIR}/assets/newgame32.xpm ${_web_icons_dir} ${_web_icon_sizes}
  DEPENDS sinkaway_web_mkicons ${PROJECT_SOURCE_DIR}/assets/newgame16.xpm
          ${PROJECT_SOURCE_DIR}/assets/newgame32.xpm
  COMMENT "Drawing the page's icons" VERBATIM)

add_custom_target(sinkaway_offline ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${SINKAWAY_WEB_SITE}/icons
  COMMAND ${CMAKE_COMMAND} -E copy ${_web_icons} ${SINKAWAY_WEB_SITE}/icons
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_LIST_DIR}/page/manifest.webmanifest
          ${SINKAWAY_WEB_SITE}
  COMMAND ${CMAKE_COMMAND} -DSITE=${SINKAWAY_WEB_SITE}
          -DTEMPLATE=${CMAKE_CURRENT_LIST_DIR}/page/sw.js -P ${CMAKE_CURRENT_LIST_DIR}/site.cmake
  DEPENDS ${_web_icons} ${CMAKE_CURRENT_LIST_DIR}/page/manifest.webmanifest
          ${CMAKE_CURRENT_LIST_DIR}/page/sw.js ${CMAKE_CURRENT_LIST_DIR}/site.cmake
  COMMENT "The manifest, icons and service worker in ${SINKAWAY_WEB_SITE}" VERBATIM)
add_dependencies(sinkaway_offline sinkaway_site)
