# One INTERFACE target carries the project's compile options; every target of
# ours links it instead of setting flags of its own.
add_library(tradumar_options INTERFACE)
target_compile_options(tradumar_options INTERFACE
  -Wall -Wextra -Wpedantic -Werror=return-type
  # GCC 12 reports false -Wrestrict overlaps inside std::string at -O2 (GCC bug 105329).
  $<$<CXX_COMPILER_ID:GNU>:-Wno-restrict>)
target_include_directories(tradumar_options INTERFACE ${PROJECT_SOURCE_DIR}/src)

if(TRADUMAR_SANITIZE)
  target_compile_options(tradumar_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer -g)
  target_link_options(tradumar_options INTERFACE -fsanitize=address,undefined)
endif()

if(TRADUMAR_FUZZ)
  # Everything is instrumented for coverage; the fuzz executables add libFuzzer's main.
  target_compile_options(tradumar_options INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -g)
  target_link_options(tradumar_options INTERFACE -fsanitize=address,undefined)
endif()
