# The SDK headers as a plugin author meets them, compiled apart from the build's own definitions: they need the
# platform from the build, bring <stdint.h> (and <windows.h> on Windows), and declare a function only for the
# SDK version that brought it (XPLMFindCommand: XPLM200).
if(WIN32)
  set(_platform -DIBM=1)
else()
  set(_platform -DLIN=1)
endif()
set(_compile ${CMAKE_CXX_COMPILER} -std=c++20 -fsyntax-only -I${CMAKE_SOURCE_DIR}/sdk
             ${CMAKE_CURRENT_LIST_DIR}/plugin_includes.cpp)
add_test(NAME sdk/headers_compile COMMAND ${_compile} ${_platform} -DXPLM200=1)
add_test(NAME sdk/headers_need_platform COMMAND ${_compile} -DXPLM200=1)
add_test(NAME sdk/headers_gated_by_version COMMAND ${_compile} ${_platform})
set_tests_properties(sdk/headers_need_platform PROPERTIES PASS_REGULAR_EXPRESSION "exactly one of IBM, LIN or APL")
set_tests_properties(sdk/headers_gated_by_version PROPERTIES PASS_REGULAR_EXPRESSION "XPLMFindCommand")
