# The portable units of stelmar's store, built natively with the sanitizers.
set(stelmar_dir ${VARNICK_ROOT}/startup)
include(${stelmar_dir}/portable.cmake)
add_library(stelmar_store_portable STATIC ${stelmar_store_portable_sources})
target_link_libraries(stelmar_store_portable PUBLIC stelmar_base_portable)
varnick_native_test(stelmar_store_portable_tests ${stelmar_store_portable_tests})
target_link_libraries(stelmar_store_portable_tests PRIVATE stelmar_store_portable)
