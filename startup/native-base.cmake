# The portable units of stelmar's base, built natively with the sanitizers. The library
# has the same name as in the Windows build, so the units built on it link it in both.
set(stelmar_base_dir ${VARNICK_ROOT}/startup)
add_library(stelmar_base_portable STATIC
  ${stelmar_base_dir}/platform/errorresources/Assertion.cpp
  ${stelmar_base_dir}/platform/errorresources/SystemReport.cpp
  ${stelmar_base_dir}/util/parser/StringTokenizerImpl.cpp
  ${stelmar_base_dir}/util/config/ConfigImpl.cpp
  ${stelmar_base_dir}/util/config/Scrambler.cpp)

varnick_native_test(stelmar_base_portable_tests
  ${stelmar_base_dir}/tests/base/ExceptionsTest.cpp
  ${stelmar_base_dir}/tests/base/AssertionTest.cpp
  ${stelmar_base_dir}/tests/base/SystemReportTest.cpp
  ${stelmar_base_dir}/tests/base/StringTokenizerTest.cpp
  ${stelmar_base_dir}/tests/base/ConfigImplTest.cpp
  ${stelmar_base_dir}/tests/base/ScramblerTest.cpp)
target_link_libraries(stelmar_base_portable_tests PRIVATE stelmar_base_portable)
