# The program is built with the hardening that Debian builds its own packages
# with (dpkg-buildflags with hardening=+all on Debian 12): fortified C library
# calls, stack protector and stack clash probes, control-flow protection on
# x86, and a read-only relocation table bound at start-up. Debian's compiler
# already makes position-independent executables. Sanitizer and fuzz builds
# go without it: their own run-time checks take its place, and fortified
# calls would hide overflows from AddressSanitizer. A Debug build keeps
# everything but the fortified calls, which need the optimizer.
option(KELVORA_HARDEN "Build with the hardening flags of Debian's packages (not with sanitizers or fuzzing)" ON)

if(KELVORA_HARDEN AND NOT KELVORA_SANITIZE AND NOT KELVORA_FUZZ)
  # A packager's own fortify level, from CXXFLAGS, stays as it is.
  if(NOT CMAKE_CXX_FLAGS MATCHES "_FORTIFY_SOURCE")
    add_compile_options("$<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")
  endif()
  add_compile_options(-fstack-protector-strong -fstack-clash-protection)
  if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64|i.86)$")
    add_compile_options(-fcf-protection)
  endif()
  add_link_options(LINKER:-z,relro LINKER:-z,now)
endif()
