# The Windows form of a plugin library: what X-Plane needs to load it on a machine that has nothing but
# the simulator and Windows itself.

# Import libraries of XPLM_64.dll and XPWidgets_64.dll. Built against an official SDK, the plugin links that
# SDK's own (Libraries/Win beside its CHeaders folder). Otherwise the build makes them from the export lists in
# sdk/: X-Plane's SDK libraries are not redistributable, and the host under test must not be linked in their
# place, so a plugin links these and finds the real DLLs at load time.
if(NOT TARGET talvenor_sdk_import)
  add_library(talvenor_sdk_import INTERFACE)
  if(TALVENOR_SDK_DIR)
    get_filename_component(_talvenor_sdk_libraries "${TALVENOR_SDK_DIR}/../Libraries/Win" ABSOLUTE)
    foreach(_dll XPLM_64 XPWidgets_64)
      set(_lib "${_talvenor_sdk_libraries}/${_dll}.lib")
      if(NOT EXISTS "${_lib}")
        message(FATAL_ERROR "The SDK of TALVENOR_SDK_DIR has no ${_lib}")
      endif()
      target_link_libraries(talvenor_sdk_import INTERFACE "${_lib}")
    endforeach()
  else()
    if(NOT CMAKE_DLLTOOL)
      find_program(CMAKE_DLLTOOL NAMES x86_64-w64-mingw32-dlltool dlltool REQUIRED)
    endif()
    set(_talvenor_import_dir "${CMAKE_BINARY_DIR}/sdk-import")
    set(_talvenor_import_libraries "")
    foreach(_dll XPLM_64 XPWidgets_64)
      set(_def "${CMAKE_SOURCE_DIR}/sdk/${_dll}.def")
      set(_lib "${_talvenor_import_dir}/lib${_dll}.a")
      # The .def's LIBRARY line names the DLL the imports are bound to.
      add_custom_command(
        OUTPUT "${_lib}"
        COMMAND ${CMAKE_COMMAND} -E make_directory "${_talvenor_import_dir}"
        COMMAND ${CMAKE_DLLTOOL} --input-def "${_def}" --output-lib "${_lib}"
        DEPENDS "${_def}"
        COMMENT "Import library of ${_dll}.dll from sdk/${_dll}.def"
        VERBATIM)
      list(APPEND _talvenor_import_libraries "${_lib}")
    endforeach()
    add_custom_target(talvenor_sdk_import_libraries DEPENDS ${_talvenor_import_libraries})
    target_link_libraries(talvenor_sdk_import INTERFACE ${_talvenor_import_libraries})
    add_dependencies(talvenor_sdk_import talvenor_sdk_import_libraries)
  endif()
endif()

# Makes TARGET a self-contained X-Plane plugin DLL: SDK imports from the simulator's DLLs only, the compiler's
# runtime linked in (a pilot's machine has no MinGW DLLs), and exports limited to what DEF_FILE lists.
function(talvenor_windows_plugin target def_file)
  target_link_libraries(${target} PRIVATE talvenor_sdk_import)
  target_sources(${target} PRIVATE "${def_file}")
  # -static also takes winpthread in statically when the compiler is the posix-threads variant.
  # --exclude-all-symbols: without it ld exports every global symbol when it sees no explicit export.
  target_link_options(${target} PRIVATE -static-libgcc -static-libstdc++ -static -Wl,--exclude-all-symbols)
  # The static runtime brings its debug sections along; a release leaves them out (about 40 % of the file).
  target_link_options(${target} PRIVATE $<$<NOT:$<CONFIG:Debug>>:-s>)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS "${def_file}")
endfunction()
