# The fuzz targets' corpora replayed through their entry points with an
# ordinary main(), so every build tests the inputs the fuzzers kept.
set(tavlo_fuzz_dir ${PROJECT_SOURCE_DIR}/tests/fuzz)
foreach(pair IN ITEMS "ini;ini_fuzz" "engine;engine_startup_fuzz")
  list(GET pair 0 corpus)
  list(GET pair 1 source)
  # The INI target drives the portable layer, which Windows builds do not have.
  if(WIN32 AND corpus STREQUAL "ini")
    continue()
  endif()
  add_executable(fuzz_replay_${corpus} ${tavlo_fuzz_dir}/replay_main.cpp ${tavlo_fuzz_dir}/${source}.cpp)
  target_link_libraries(fuzz_replay_${corpus} PRIVATE tavlo_core)
  add_test(NAME fuzz_replay_${corpus} COMMAND fuzz_replay_${corpus} ${tavlo_fuzz_dir}/corpus/${corpus})
  set_tests_properties(fuzz_replay_${corpus} PROPERTIES TIMEOUT 120)
endforeach()
