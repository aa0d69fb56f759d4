# The fuzzers' entries also run in the unit tests, over every file kept in
# tests/regressions/<target>/ and over the seed corpora in fuzz/corpus/<target>/.
if(TARGET dellomar_tests)
  target_sources(dellomar_tests PRIVATE ${CMAKE_SOURCE_DIR}/fuzz/fuzz_entries.cpp)
endif()
