# Window benchmarks under Wine, cross-built; tools/bench window builds and
# runs them. The driver, on the end-to-end tests' driver library, and the
# two floors of the start-up figure, timed like the instrumented program
# (instrument.cpp): an empty dialog, and the same dialog with comctl32
# loaded and one up-down control.
include(${PROJECT_SOURCE_DIR}/tests/e2e/driver.cmake)
add_executable(window_bench window_bench.cpp)
target_link_libraries(window_bench PRIVATE e2e_driver rimcore psapi user32)

add_executable(minimal_dialog WIN32 minimal_dialog.cpp instrument.cpp minimal_dialog.rc)
target_include_directories(minimal_dialog PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_definitions(minimal_dialog PRIVATE RIMBEACON_INSTRUMENT)
target_compile_options(minimal_dialog PRIVATE $<$<COMPILE_LANGUAGE:RC>:-c932>)
target_link_libraries(minimal_dialog PRIVATE user32)

add_executable(updown_dialog WIN32 minimal_dialog.cpp instrument.cpp updown_dialog.rc)
target_include_directories(updown_dialog PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_definitions(updown_dialog PRIVATE RIMBEACON_INSTRUMENT RIMBEACON_FLOOR_UPDOWN)
target_compile_options(updown_dialog PRIVATE $<$<COMPILE_LANGUAGE:RC>:-c932>)
target_link_libraries(updown_dialog PRIVATE comctl32 user32)
