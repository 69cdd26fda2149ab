# The end-to-end driver (driver.h): the tests' and the window benchmarks'
# one library for starting the program, finding its windows, real input,
# captures and the settings file. Screenshots are written with the PNG
# writer of Debian's libstb-dev, a header that the cross compiler takes as
# it is.
if(NOT TARGET e2e_driver)
    find_path(RIMBEACON_STB_INCLUDE_DIR stb_image_write.h PATHS /usr/include/stb NO_CMAKE_FIND_ROOT_PATH REQUIRED)
    add_library(e2e_driver STATIC ${CMAKE_CURRENT_LIST_DIR}/driver.cpp)
    target_include_directories(e2e_driver PUBLIC ${CMAKE_CURRENT_LIST_DIR} ${PROJECT_SOURCE_DIR})
    target_include_directories(e2e_driver SYSTEM PRIVATE ${RIMBEACON_STB_INCLUDE_DIR})
    target_link_libraries(e2e_driver PUBLIC user32 gdi32 advapi32)
endif()
