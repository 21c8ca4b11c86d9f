# The music target loads through the window's music player code, which brings SDL2_mixer.
target_link_libraries(${binary} PRIVATE sinkaway_window)
