# ASan + UBSan for the whole build, plugin libraries included, so the host and the plugin are checked together.
if(TALVENOR_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
