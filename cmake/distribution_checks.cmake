# Checks of what ships to pilots: the Windows plugin's imports and exports, the example Talvenor.ini and the
# package check, each with a test that the check itself rejects faulty input. Included at the end of the
# top-level directory (src/CMakeLists.txt defers it there), where testing is enabled and talvenor-sim exists.
if(NOT TALVENOR_BUILD_SIM)
  return()
endif()
set(_checks "${CMAKE_SOURCE_DIR}/tests")
set(_work "${CMAKE_BINARY_DIR}/distribution_checks")

# The example read by this build's plugin in this build's talvenor-sim (under Wine in the Windows build).
add_test(NAME examples/talvenor_ini
         COMMAND bash ${_checks}/check_example_ini.sh $<TARGET_FILE:talvenor-sim>
                 ${CMAKE_SOURCE_DIR}/examples/Talvenor.ini ${CMAKE_SOURCE_DIR}/src/config/setup_file.cpp
                 ${_work}/example_ini ${CMAKE_CROSSCOMPILING_EMULATOR})

if(WIN32)
  add_test(NAME plugin/windows_library
           COMMAND bash ${_checks}/check_windows_library.sh $<TARGET_FILE:Talvenor> ${CMAKE_OBJDUMP})
  add_test(NAME udp/windows_library
           COMMAND bash ${_checks}/check_windows_library.sh $<TARGET_FILE:TalvenorUDP> ${CMAKE_OBJDUMP})
  add_test(NAME plugin/windows_library_check
           COMMAND bash ${_checks}/check_windows_library_test.sh ${_work}/windows_library ${CMAKE_C_COMPILER}
                   ${CMAKE_CXX_COMPILER} ${CMAKE_DLLTOOL} ${CMAKE_OBJDUMP})
  if(CMAKE_CROSSCOMPILING_EMULATOR)
    # The Wine prefix and its registry are shared with the scenario runs (tests/CMakeLists.txt).
    set_tests_properties(examples/talvenor_ini PROPERTIES FIXTURES_REQUIRED wine_prefix RESOURCE_LOCK wine_registry)
  endif()
else()
  # The checks of the example and of the package themselves; they need no Windows build.
  add_test(NAME examples/talvenor_ini_check
           COMMAND bash ${_checks}/check_example_ini_test.sh $<TARGET_FILE:talvenor-sim>
                   ${CMAKE_SOURCE_DIR}/examples/Talvenor.ini ${CMAKE_SOURCE_DIR}/src/config/setup_file.cpp
                   ${_work}/example_ini_check)
  add_test(NAME package/check COMMAND bash ${_checks}/check_package_test.sh ${_work}/package)
endif()
