# Error reporting, whole-file load and save, the configuration file of stelmar.
set(stelmar_base_dir ${CMAKE_CURRENT_LIST_DIR})

set(stelmar_dir ${CMAKE_CURRENT_LIST_DIR})
include(${CMAKE_CURRENT_LIST_DIR}/portable.cmake)
add_library(stelmar_base_portable STATIC ${stelmar_base_portable_sources})

# The Windows glue.
add_library(stelmar_base STATIC
  ${stelmar_base_dir}/platform/errorresources/SystemErrors.cpp
  ${stelmar_base_dir}/platform/errorresources/SystemInformation.cpp
  ${stelmar_base_dir}/platform/errorresources/ApplicationReporter.cpp
  ${stelmar_base_dir}/io/file/FileHelper.cpp
  ${stelmar_base_dir}/util/config/ScrambledConfigFile.cpp)
target_link_libraries(stelmar_base PUBLIC stelmar_base_portable varnick_common kernel32 advapi32)

if(VARNICK_TESTS)
  varnick_add_test(stelmar_base_tests
    ${stelmar_base_portable_tests}
    ${stelmar_base_dir}/tests/base/SystemErrorsTest.cpp
    ${stelmar_base_dir}/tests/base/FileHelperTest.cpp
    ${stelmar_base_dir}/tests/base/ScrambledConfigFileTest.cpp
    ${stelmar_base_dir}/tests/base/SystemInformationTest.cpp
    ${stelmar_base_dir}/tests/base/ApplicationReporterTest.cpp)
  target_link_libraries(stelmar_base_tests PRIVATE stelmar_base varnick_harness)
  add_executable(stelmar_save_child ${stelmar_base_dir}/tests/base/SaveChild.cpp)
  target_link_libraries(stelmar_save_child PRIVATE stelmar_base)
  add_dependencies(stelmar_base_tests stelmar_save_child)
endif()
