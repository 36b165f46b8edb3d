# The fuzz targets' corpora replayed through their entry points with an
# ordinary main(), so every build tests the inputs the fuzzers kept. The INI
# target also takes the hand-made damaged settings files.
set(tavlo_fuzz_dir ${PROJECT_SOURCE_DIR}/tests/fuzz)
set(tavlo_malformed_dir ${PROJECT_SOURCE_DIR}/tests/data/malformed)
foreach(pair IN ITEMS "ini;ini_fuzz" "engine;engine_startup_fuzz")
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
