# Two programs that must be caught by the sanitizer build: one leaks (so
# LeakSanitizer must be on) and one overflows (so UndefinedBehaviorSanitizer
# must stop the program, not just report and go on).
if(DELLOMAR_SANITIZE AND DELLOMAR_TESTS)
  foreach(probe leak_probe overflow_probe)
    add_executable(sanitizer_${probe} ${CMAKE_SOURCE_DIR}/tests/sanitizer/${probe}.cpp)
    set_target_properties(sanitizer_${probe} PROPERTIES
      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    add_test(NAME sanitizer.${probe} COMMAND sanitizer_${probe})
  endforeach()
  set_tests_properties(sanitizer.leak_probe PROPERTIES
    PASS_REGULAR_EXPRESSION "LeakSanitizer: detected memory leaks")
  set_tests_properties(sanitizer.overflow_probe PROPERTIES
    PASS_REGULAR_EXPRESSION "runtime error: signed integer overflow"
    FAIL_REGULAR_EXPRESSION "went on after the overflow")
endif()
