# One warning set for every target of the project (not for third-party code).
add_library(vestrel_warnings INTERFACE)
target_compile_options(vestrel_warnings INTERFACE
  -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
  -Wcast-align -Wformat=2 -Wimplicit-fallthrough -Wmissing-declarations
  -Wundef -Wcast-function-type)
# -Wcast-function-type (also part of -Wextra) is named so that it stays on:
# a callback cast to another function type is how a cdecl function reaches
# Windows where a stdcall one is called, a fault only the 32-bit build has.
# -Wnull-dereference is left out: GCC 12 reports it inside inlined libstdc++
# string code at -O2 on i686, where no null pointer exists.
if(VESTREL_WERROR)
  target_compile_options(vestrel_warnings INTERFACE -Werror)
endif()

if(VESTREL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()
