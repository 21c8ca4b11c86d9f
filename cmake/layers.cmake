# The layers, each allowed to use only those before it: game, driver, then the window and the
# server side by side (neither uses the other), then app.
# Every library says its layer with sinkaway_layer(); sinkaway_check_layers() at the end of the
# configure step fails when a library links one of a later layer or of its sibling, or when the
# sources of the rules, the driver or the server include SDL or a header of the window.
set(SINKAWAY_LAYERS game driver window server app)
# Each layer's rank: layers of one rank are siblings.
set(SINKAWAY_LAYER_RANKS 0 1 2 2 3)

function(sinkaway_layer target layer)
  list(FIND SINKAWAY_LAYERS ${layer} index)
  if(index LESS 0)
    message(FATAL_ERROR "${target}: unknown layer '${layer}' (one of ${SINKAWAY_LAYERS})")
  endif()
  set_property(TARGET ${target} PROPERTY SINKAWAY_LAYER_INDEX ${index})
  set_property(GLOBAL APPEND PROPERTY SINKAWAY_LAYERED_TARGETS ${target})
endfunction()

function(sinkaway_check_layers)
  get_property(targets GLOBAL PROPERTY SINKAWAY_LAYERED_TARGETS)
  foreach(target ${targets})
    get_property(mine TARGET ${target} PROPERTY SINKAWAY_LAYER_INDEX)
    get_property(links TARGET ${target} PROPERTY LINK_LIBRARIES)
    get_property(interface TARGET ${target} PROPERTY INTERFACE_LINK_LIBRARIES)
    foreach(dep ${links} ${interface})
      if(TARGET ${dep})
        get_property(theirs TARGET ${dep} PROPERTY SINKAWAY_LAYER_INDEX)
        if(NOT "${theirs}" STREQUAL "")
          list(GET SINKAWAY_LAYER_RANKS ${mine} myRank)
          list(GET SINKAWAY_LAYER_RANKS ${theirs} theirRank)
        endif()
        if(NOT "${theirs}" STREQUAL "" AND NOT theirs EQUAL mine AND
           NOT theirRank LESS myRank)
          list(GET SINKAWAY_LAYERS ${mine} a)
          list(GET SINKAWAY_LAYERS ${theirs} b)
          message(FATAL_ERROR "${target} (${a}/) may not use ${dep} (${b}/): "
                              "each layer uses only those before it, and the window and the "
                              "server never use each other")
        endif()
      endif()
    endforeach()
  endforeach()

  file(GLOB_RECURSE window_headers RELATIVE ${PROJECT_SOURCE_DIR}/window
       ${PROJECT_SOURCE_DIR}/window/*.h)
  set(window_names)
  foreach(header ${window_headers})
    get_filename_component(name ${header} NAME)
    list(APPEND window_names ${name})
  endforeach()
  file(GLOB_RECURSE lower CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/game/*.h
       ${PROJECT_SOURCE_DIR}/game/*.cpp ${PROJECT_SOURCE_DIR}/driver/*.h
       ${PROJECT_SOURCE_DIR}/driver/*.cpp ${PROJECT_SOURCE_DIR}/server/*.h
       ${PROJECT_SOURCE_DIR}/server/*.cpp)
  foreach(source ${lower})
    file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include")
    foreach(line ${includes})
      string(REGEX MATCH "[<\"]([^>\"]+)[>\"]" _ "${line}")
      set(included "${CMAKE_MATCH_1}")
      get_filename_component(name "${included}" NAME)
      if(included MATCHES "^SDL" OR name IN_LIST window_names)
        file(RELATIVE_PATH where ${PROJECT_SOURCE_DIR} ${source})
        message(FATAL_ERROR "${where} includes ${included}: the rules, the driver and the "
                            "server never use SDL or the window")
      endif()
    endforeach()
  endforeach()
endfunction()
