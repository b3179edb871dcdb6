# Error reporting, whole-file load and save, the configuration file of stelmar.
set(stelmar_base_dir ${CMAKE_CURRENT_LIST_DIR})

# Standard library only; built natively as well (native-base.cmake).
add_library(stelmar_base_portable STATIC
  ${stelmar_base_dir}/platform/errorresources/Assertion.cpp)

# The Windows glue.
add_library(stelmar_base STATIC
  ${stelmar_base_dir}/platform/errorresources/SystemErrors.cpp
  ${stelmar_base_dir}/io/file/FileHelper.cpp)
target_link_libraries(stelmar_base PUBLIC stelmar_base_portable varnick_common kernel32)

if(VARNICK_TESTS)
  varnick_add_test(stelmar_base_tests
    ${stelmar_base_dir}/tests/base/ExceptionsTest.cpp
    ${stelmar_base_dir}/tests/base/AssertionTest.cpp
    ${stelmar_base_dir}/tests/base/SystemErrorsTest.cpp
    ${stelmar_base_dir}/tests/base/FileHelperTest.cpp)
  target_link_libraries(stelmar_base_tests PRIVATE stelmar_base varnick_harness)
endif()
