# The fuzz targets' corpora replayed through their entry points with an
# ordinary main(), so every build tests the inputs the fuzzers kept. The INI
# target also takes the hand-made damaged settings files.
set(tavlo_fuzz_dir ${PROJECT_SOURCE_DIR}/tests/fuzz)
set(tavlo_malformed_dir ${PROJECT_SOURCE_DIR}/tests/data/malformed)
set(tavlo_fuzz_pairs engine:engine_startup_fuzz)
# The INI target drives the portable INI layer, which Windows does not build.
if(NOT WIN32)
  list(PREPEND tavlo_fuzz_pairs ini:ini_fuzz)
endif()
foreach(pair IN LISTS tavlo_fuzz_pairs)
  string(REPLACE ":" ";" pair ${pair})
  list(GET pair 0 corpus)
  list(GET pair 1 source)
  set(inputs ${tavlo_fuzz_dir}/corpus/${corpus})
  if(corpus STREQUAL "ini" AND EXISTS ${tavlo_malformed_dir})
    list(APPEND inputs ${tavlo_malformed_dir})
  endif()
  add_executable(fuzz_replay_${corpus} ${tavlo_fuzz_dir}/replay_main.cpp ${tavlo_fuzz_dir}/${source}.cpp)
  target_link_libraries(fuzz_replay_${corpus} PRIVATE tavlo_core)
  add_test(NAME fuzz_replay_${corpus} COMMAND fuzz_replay_${corpus} ${inputs})
  set_tests_properties(fuzz_replay_${corpus} PROPERTIES TIMEOUT 120)
endforeach()
