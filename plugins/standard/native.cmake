set(standard_dir ${VARNICK_ROOT}/plugins/standard)
varnick_native_test(orvane_portable_tests
  ${standard_dir}/Rules.cpp ${standard_dir}/tests/RulesTest.cpp)
