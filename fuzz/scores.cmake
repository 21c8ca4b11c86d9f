# The scores table's reader lives in the store library.
target_link_libraries(${binary} PRIVATE sinkaway_store)
