# The portable units of the program stelmar, built natively with the sanitizers.
include(${VARNICK_ROOT}/startup/ui/portable.cmake)
add_library(stelmar_ui_portable STATIC ${stelmar_ui_portable_sources})
target_link_libraries(stelmar_ui_portable PUBLIC stelmar_store_portable)
varnick_native_test(stelmar_ui_portable_tests ${stelmar_ui_portable_tests})
target_link_libraries(stelmar_ui_portable_tests PRIVATE stelmar_ui_portable)
