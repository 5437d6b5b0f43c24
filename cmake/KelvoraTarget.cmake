# Project code is held to -Wall -Wextra with warnings as errors; Qt's headers
# come in as system headers through their imported targets.
function(kelvora_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
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
