# The units of stelmar's program that need no Windows call, and their tests.
set(stelmar_ui_portable_sources
  ${CMAKE_CURRENT_LIST_DIR}/StelmarModel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LoadOrderModel.cpp)
set(stelmar_ui_portable_tests
  ${CMAKE_CURRENT_LIST_DIR}/../tests/ui/StelmarModelTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../tests/ui/LoadOrderModelTest.cpp)
