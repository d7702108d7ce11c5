# Warnings for every target of the project; errors when TALVENOR_WERROR is on.
add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wcast-align -Wformat=2 $<$<COMPILE_LANGUAGE:CXX>:-Wnon-virtual-dtor>)
if(TALVENOR_WERROR)
  add_compile_options(-Werror)
endif()
