# Compiler strictness and sanitizers shared by every target through one interface target.
add_library(meridex_options INTERFACE)
target_compile_options(meridex_options INTERFACE
  -Wall -Wextra -Wpedantic -Wnon-virtual-dtor -Werror
  $<$<CXX_COMPILER_ID:GNU>:-Wshadow=local>
  $<$<CONFIG:Release>:-D_FORTIFY_SOURCE=2>)
target_compile_definitions(meridex_options INTERFACE
  QT_NO_KEYWORDS QT_NO_CAST_FROM_BYTEARRAY)

if(MERIDEX_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(MERIDEX_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "MERIDEX_FUZZ needs clang: configure with CXX=clang++ CC=clang")
  endif()
  # Instrument the libraries the fuzz targets link, not only the targets themselves.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# A module library of our own: strict warnings, sources next to the headers.
function(meridex_library name)
  add_library(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE meridex_options)
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
endfunction()

# Adds every child folder of the current source folder that has a CMakeLists.txt, so new
# subjects and tools join the build without editing their parent.
function(meridex_add_child_folders)
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
       ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child IN LISTS children)
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()
