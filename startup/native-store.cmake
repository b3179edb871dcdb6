# The portable units of stelmar's store, built natively with the sanitizers.
set(stelmar_store_dir ${VARNICK_ROOT}/startup)
add_library(stelmar_store_portable STATIC
  ${stelmar_store_dir}/StartupConstants.cpp
  ${stelmar_store_dir}/StartupItem.cpp
  ${stelmar_store_dir}/database/BackupFile.cpp
  ${stelmar_store_dir}/util/parser/ArgumentParserHelpers.cpp)
target_link_libraries(stelmar_store_portable PUBLIC stelmar_base_portable)

varnick_native_test(stelmar_store_portable_tests
  ${stelmar_store_dir}/tests/store/StartupItemTest.cpp
  ${stelmar_store_dir}/tests/store/BackupFileTest.cpp
  ${stelmar_store_dir}/tests/store/ArgumentParserHelpersTest.cpp
  ${stelmar_store_dir}/tests/store/MapperTest.cpp)
target_link_libraries(stelmar_store_portable_tests PRIVATE stelmar_store_portable)
