# The program stelmar: its dialogs, the tree and list wrappers, and start-up.
set(stelmar_ui_dir ${CMAKE_CURRENT_LIST_DIR}/ui)

# Standard library only; built natively as well (native-ui.cmake).
include(${CMAKE_CURRENT_LIST_DIR}/ui/portable.cmake)
add_library(stelmar_ui_portable STATIC ${stelmar_ui_portable_sources})
target_link_libraries(stelmar_ui_portable PUBLIC stelmar_store_portable)

add_library(stelmar_ui STATIC
  ${stelmar_ui_dir}/TreeControl.cpp
  ${stelmar_ui_dir}/ListControl.cpp
  ${stelmar_ui_dir}/MessageBoxHandler.cpp
  ${stelmar_ui_dir}/AddEntryDialog.cpp
  ${stelmar_ui_dir}/LoadOrderDialog.cpp
  ${stelmar_ui_dir}/StelmarDlg.cpp)
target_link_libraries(stelmar_ui PUBLIC stelmar_ui_portable stelmar_helpers stelmar_store
  varnick_common comctl32 comdlg32 gdi32 user32 ole32)

add_executable(stelmar WIN32 ${stelmar_ui_dir}/StelmarApp.cpp ${stelmar_ui_dir}/stelmar.rc
  ${stelmar_signup_resource})
target_link_libraries(stelmar PRIVATE stelmar_ui)
# Common controls 6 (SetWindowSubclass and the themed look), no elevation, the supported systems.
varnick_add_manifest(stelmar stelmar "Stelmar startup manager")

if(VARNICK_TESTS)
  varnick_add_test(stelmar_ui_tests ${stelmar_ui_portable_tests})
  target_link_libraries(stelmar_ui_tests PRIVATE stelmar_ui_portable)
  varnick_add_test(stelmar_dialog_tests
    ${stelmar_ui_dir}/../tests/ui/RemoteTree.cpp
    ${stelmar_ui_dir}/../tests/ui/StelmarDialogTest.cpp
    ${stelmar_ui_dir}/../tests/ui/ListControlTest.cpp)
  target_link_libraries(stelmar_dialog_tests PRIVATE stelmar_ui varnick_harness advapi32 ole32
    shell32 user32 comctl32)
  add_dependencies(stelmar_dialog_tests stelmar)
  target_compile_definitions(stelmar_dialog_tests PRIVATE
    STELMAR_BROWSER_RECORDER="${stelmar_browser_recorder}")
  add_subdirectory(${stelmar_ui_dir}/bench ${CMAKE_CURRENT_BINARY_DIR}/ui-bench)
endif()
