# -DPICTARIUM_SANITIZE=address,undefined instruments everything built in this tree.
if(PICTARIUM_SANITIZE)
  add_compile_options(-fsanitize=${PICTARIUM_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${PICTARIUM_SANITIZE})
endif()
