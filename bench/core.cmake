# The draw engine with its settings-file writes (POSIX: the bare yardstick
# write uses open/fsync/rename).
if(UNIX)
  add_executable(tavlo_core_bench ${CMAKE_CURRENT_LIST_DIR}/core_bench.cpp)
  target_link_libraries(tavlo_core_bench PRIVATE tavlo_core benchmark::benchmark)
endif()
