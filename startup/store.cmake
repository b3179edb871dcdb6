# Entries, registry access, the registry and autostart databases and the interface over them.
set(stelmar_store_dir ${CMAKE_CURRENT_LIST_DIR})

# Standard library only; built natively as well (native-store.cmake).
set(stelmar_dir ${CMAKE_CURRENT_LIST_DIR})
include(${CMAKE_CURRENT_LIST_DIR}/portable.cmake)
add_library(stelmar_store_portable STATIC ${stelmar_store_portable_sources})
target_link_libraries(stelmar_store_portable PUBLIC stelmar_base_portable)

# The Windows glue.
add_library(stelmar_store STATIC
  ${stelmar_store_dir}/windows/CodePage.cpp
  ${stelmar_store_dir}/windows/registry/RegistryKeyImpl.cpp
  ${stelmar_store_dir}/windows/registry/RegistryReaderImpl.cpp
  ${stelmar_store_dir}/windows/registry/RegistryWriterImpl.cpp
  ${stelmar_store_dir}/database/RegistryBackup.cpp
  ${stelmar_store_dir}/database/RecycleStore.cpp
  ${stelmar_store_dir}/database/StartupApproved.cpp
  ${stelmar_store_dir}/database/RegistryDatabase.cpp
  ${stelmar_store_dir}/windows/file/WindowsFileHelper.cpp
  ${stelmar_store_dir}/windows/file/Shortcut.cpp
  ${stelmar_store_dir}/database/AutostartDatabase.cpp
  ${stelmar_store_dir}/StartupInterface.cpp
  ${stelmar_store_dir}/EntryMoves.cpp
  ${stelmar_store_dir}/StartupStores.cpp
  ${stelmar_store_dir}/StartupReportSource.cpp)
target_link_libraries(stelmar_store PUBLIC stelmar_store_portable stelmar_base varnick_common
  advapi32 shell32 ole32 uuid)

if(VARNICK_TESTS)
  varnick_add_test(stelmar_store_tests
    ${stelmar_store_portable_tests}
    ${stelmar_store_dir}/tests/store/StoreFixtures.cpp
    ${stelmar_store_dir}/tests/store/RegistryLayerTest.cpp
    ${stelmar_store_dir}/tests/store/RegistryDatabaseTest.cpp
    ${stelmar_store_dir}/tests/store/AutostartDatabaseTest.cpp
    ${stelmar_store_dir}/tests/store/WindowsFileHelperTest.cpp
    ${stelmar_store_dir}/tests/store/StartupInterfaceTest.cpp
    ${stelmar_store_dir}/tests/store/EntryMovesTest.cpp
    ${stelmar_store_dir}/tests/store/StoreSafetyTest.cpp
    ${stelmar_store_dir}/tests/store/StartupStoresTest.cpp
    ${stelmar_store_dir}/tests/store/RegistryViewTest.cpp
    ${stelmar_store_dir}/tests/store/Windows64StoreTest.cpp)
  target_link_libraries(stelmar_store_tests PRIVATE stelmar_store varnick_harness advapi32 shlwapi
    ole32)
endif()
