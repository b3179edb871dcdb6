# stelmar's portable units, built natively with the sanitizers: the same lists and library
# names as the Windows build (sources.cmake).
set(stelmar_dir ${VARNICK_ROOT}/startup)
include(${stelmar_dir}/sources.cmake)
add_library(stelmar_base_portable STATIC ${stelmar_base_portable_sources})
add_library(stelmar_store_portable STATIC ${stelmar_store_portable_sources})
target_link_libraries(stelmar_store_portable PUBLIC stelmar_base_portable)
add_library(stelmar_helpers_portable STATIC ${stelmar_helpers_portable_sources})
target_link_libraries(stelmar_helpers_portable PUBLIC stelmar_base_portable)
add_library(stelmar_ui_portable STATIC ${stelmar_ui_portable_sources})
target_link_libraries(stelmar_ui_portable PUBLIC stelmar_store_portable)

foreach(library base store helpers ui)
  varnick_native_test(stelmar_${library}_portable_tests ${stelmar_${library}_portable_tests})
  target_link_libraries(stelmar_${library}_portable_tests PRIVATE stelmar_${library}_portable)
endforeach()
