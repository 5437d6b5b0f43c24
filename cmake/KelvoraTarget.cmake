# Project code is held to -Wall -Wextra; Qt's headers come in as system headers
# through their imported targets. Warnings stop the build only where we ask for
# it (KELVORA_WERROR: CI and developers), never in a user's build, since the
# next compiler release brings new warnings, and false ones, that must not cost
# a user the program.
function(kelvora_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(KELVORA_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  # g++ 12 reports a false -Wrestrict inside std::string's operator+ once it
  # inlines it at -O2 and above (GCC bug 105329); nothing in our code can
  # meet it, so that one warning is silenced for that compiler only.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12
     AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
endfunction()

# A library made of every source file in one folder (not its subfolders),
# linked to the libraries that follow the folder.
function(kelvora_folder_library target folder)
  file(GLOB sources CONFIGURE_DEPENDS "${folder}/*.cpp")
  if(sources)
    add_library(${target} STATIC ${sources})
    kelvora_warnings(${target})
    target_link_libraries(${target} PUBLIC ${ARGN})
  else()
    add_library(${target} INTERFACE)
    target_link_libraries(${target} INTERFACE ${ARGN})
  endif()
endfunction()
