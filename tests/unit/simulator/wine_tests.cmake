# The port-library export tests as a Windows program, run under Wine against QASPI_SP.DLL in a
# prefix copy of the harness. Included by simulator/CMakeLists.txt in the Windows trees; only
# the x86_64 tree registers the test (this machine runs no 32-bit code).
set(kv_sim_tests ${PROJECT_SOURCE_DIR}/tests/unit/simulator)
string(REPLACE "/" "\\" kv_sim_dll "Z:${CMAKE_CURRENT_BINARY_DIR}/QASPI_SP.DLL")
file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/generated/simulator_tests/portlib_path.h
     CONTENT "#define KV_QASPI_SP_PATH R\"(${kv_sim_dll})\"\n")
add_executable(simulator_portlib_win ${kv_sim_tests}/scan_caller.cpp ${kv_sim_tests}/portlib_test.cpp)
target_include_directories(simulator_portlib_win PRIVATE ${CMAKE_BINARY_DIR}/generated)
target_link_libraries(simulator_portlib_win PRIVATE kv_sim_portlib kv_platform gtest gtest_main)
add_dependencies(simulator_portlib_win qaspi_sp)

if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  add_test(NAME wine.gtest.simulator_portlib
           COMMAND ${Python3_EXECUTABLE} -B ${PROJECT_SOURCE_DIR}/tests/wine/wine_run.py
                   --tree ${CMAKE_BINARY_DIR} --name simulator_portlib
                   --success-prefix "[  PASSED  ]" -- $<TARGET_FILE:simulator_portlib_win>)
  set_tests_properties(wine.gtest.simulator_portlib PROPERTIES LABELS wine
                       FIXTURES_REQUIRED wine_golden TIMEOUT 300)
endif()
