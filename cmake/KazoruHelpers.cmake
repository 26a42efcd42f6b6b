# Helpers shared by every CMakeLists of the project.

function(kazoru_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  # GCC 12 reports impossible memcpy overlaps inside std::string's own inlined code at -O2 (GCC bug
  # 105329); the warning says nothing about our code, so it is off for that compiler only.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
endfunction()

# A layer is one static library made of the .cpp files of src/<folder>; includes name their module
# ("engine/Bunsuu.h"), so the only include directory is src/.
function(kazoru_add_layer name folder)
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${folder}/*.cpp)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARGN})
    kazoru_warnings(${name})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARGN})
  endif()
endfunction()

# kazoru_add_test(TestEvaluate SOURCES a.cpp LIBS kazoru_engine [QT])
# A GoogleTest program, registered with ctest; QT tests run on the offscreen platform.
function(kazoru_add_test name)
  cmake_parse_arguments(T "QT" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  if(T_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_link_libraries(${name} PRIVATE ${T_LIBS} kazoru_test_main_qt GTest::gtest GTest::gmock)
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBS} kazoru_test_main GTest::gtest GTest::gmock)
  endif()
  kazoru_warnings(${name})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;KAZORU_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data"
    TIMEOUT 300)
endfunction()
