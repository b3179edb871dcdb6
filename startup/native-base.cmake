# The portable units of stelmar's base, built natively with the sanitizers. The library
# has the same name as in the Windows build, so the units built on it link it in both.
set(stelmar_dir ${VARNICK_ROOT}/startup)
include(${stelmar_dir}/portable.cmake)
add_library(stelmar_base_portable STATIC ${stelmar_base_portable_sources})
varnick_native_test(stelmar_base_portable_tests ${stelmar_base_portable_tests})
target_link_libraries(stelmar_base_portable_tests PRIVATE stelmar_base_portable)
