# -DPICTARIUM_SANITIZE=address,undefined instruments everything built in this tree.
if(PICTARIUM_SANITIZE)
  add_compile_options(-fsanitize=${PICTARIUM_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${PICTARIUM_SANITIZE})
endif()
# Fuzz builds instrument all our code for coverage, not just the fuzz entry points.
if(PICTARIUM_BUILD_FUZZ AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
