# Warnings for every target of the project; errors when TALVENOR_WERROR is on.
add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wcast-align -Wformat=2 $<$<COMPILE_LANGUAGE:CXX>:-Wnon-virtual-dtor>)
if(TALVENOR_WERROR)
  add_compile_options(-Werror)
endif()
# GCC 12 reports -Wrestrict inside libstdc++'s std::string at -O2 and above, where nothing overlaps (GCC bug 105329).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12 AND
   CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-Wno-restrict>)
endif()
