# The profile (INI) layer: its rules, its in-place edits and its durable
# writes, and a replay of the recorded profile-function vectors.
tavlo_add_gtest(profile_test ${CMAKE_CURRENT_LIST_DIR}/profile_test.cpp
  # Windows edits the file in place; Wine rewrites all of it.
  NOT_UNDER_WINE
    ProfileFileTest.ChangingAValueTouchesOnlyItsLine
    ProfileFileTest.NewKeyGoesRightAfterTheSectionsLastEntry
    ProfileFileTest.NewSectionGoesAtTheEnd
    ProfileFileTest.LfOnlyLinesKeepTheirLineEnds
    ProfileFileTest.ClearRemovesHeaderAndEntriesButKeepsComments
    ProfileFileTest.WriteSectionReplacesEveryEntryInOneGo)
if(WIN32)
  # The portable INI document is not part of a Windows build; its test still runs.
  target_sources(profile_test PRIVATE ${PROJECT_SOURCE_DIR}/platform/ini_document.cpp)
endif()
if(NOT WIN32)
  tavlo_add_gtest(durable_file_test ${CMAKE_CURRENT_LIST_DIR}/durable_file_test.cpp)
endif()

# The recorded profile-function vectors live in tests/data; a missing file
# fails the replay rather than skipping it.
find_package(nlohmann_json 3 QUIET)
if(NOT nlohmann_json_FOUND)
  message(STATUS "nlohmann_json not found: profile_replay is not built")
elseif(WIN32)
  # The replay drives the portable layer, which Windows builds do not have.
else()
  add_executable(profile_replay ${PROJECT_SOURCE_DIR}/tests/profile_replay.cpp)
  target_link_libraries(profile_replay PRIVATE tavlo_core tavlo_test_support nlohmann_json::nlohmann_json)
  add_test(NAME profile_replay
           COMMAND profile_replay ${PROJECT_SOURCE_DIR}/tests/data/profile-vectors/vectors.json)
endif()
