# The helpers of stelmar's dialogs: strings, web addresses, the Windows version, starting
# programs, the browser, and the newsletter sign-up prompt with its dialog.
set(stelmar_helpers_dir ${CMAKE_CURRENT_LIST_DIR})

set(stelmar_dir ${CMAKE_CURRENT_LIST_DIR})
include(${CMAKE_CURRENT_LIST_DIR}/portable.cmake)
add_library(stelmar_helpers_portable STATIC ${stelmar_helpers_portable_sources})
target_link_libraries(stelmar_helpers_portable PUBLIC stelmar_base_portable)

# The Windows glue. A resource in a static library never reaches the program (nothing
# refers to it by name): a program that shows SignupDialog compiles this script itself.
set(stelmar_signup_resource ${stelmar_helpers_dir}/ui/SignupDialog.rc)
add_library(stelmar_helpers STATIC
  ${stelmar_helpers_dir}/windows/info/InfoHelper.cpp
  ${stelmar_helpers_dir}/windows/process/ProcessHelper.cpp
  ${stelmar_helpers_dir}/windows/internet/InternetHelper.cpp
  ${stelmar_helpers_dir}/ui/SignupDialog.cpp)
target_link_libraries(stelmar_helpers PUBLIC stelmar_helpers_portable stelmar_store
  varnick_common shell32 urlmon user32)

if(VARNICK_TESTS)
  varnick_add_test(stelmar_helpers_tests
    ${stelmar_helpers_portable_tests}
    ${stelmar_helpers_dir}/tests/helpers/WindowsHelpersTest.cpp
    ${stelmar_helpers_dir}/tests/helpers/SignupDialogTest.cpp
    ${stelmar_signup_resource})
  target_link_libraries(stelmar_helpers_tests PRIVATE stelmar_helpers varnick_harness ole32
    advapi32)
  add_executable(stelmar_helper_child ${stelmar_helpers_dir}/tests/helpers/HelperChild.cpp)
  add_dependencies(stelmar_helpers_tests stelmar_helper_child)
  # The test browser: Wine's hyperlink navigation hands the address to a Linux program,
  # which writes it beside the test program.
  set(stelmar_browser_recorder ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/record-browser.sh)
  file(WRITE ${stelmar_browser_recorder}
    "#!/bin/sh\nprintf '%s' \"$1\" > \"$(dirname \"$0\")/browser-address.txt.part\" && "
    "mv \"$(dirname \"$0\")/browser-address.txt.part\" \"$(dirname \"$0\")/browser-address.txt\"\n")
  file(CHMOD ${stelmar_browser_recorder} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
    GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  target_compile_definitions(stelmar_helpers_tests PRIVATE
    STELMAR_BROWSER_RECORDER="${stelmar_browser_recorder}")
endif()
