# The portable helpers of stelmar's dialogs and the sign-up prompt, built natively with the
# sanitizers.
set(stelmar_dir ${VARNICK_ROOT}/startup)
include(${stelmar_dir}/portable.cmake)
add_library(stelmar_helpers_portable STATIC ${stelmar_helpers_portable_sources})
target_link_libraries(stelmar_helpers_portable PUBLIC stelmar_base_portable)
varnick_native_test(stelmar_helpers_portable_tests ${stelmar_helpers_portable_tests})
target_link_libraries(stelmar_helpers_portable_tests PRIVATE stelmar_helpers_portable)
