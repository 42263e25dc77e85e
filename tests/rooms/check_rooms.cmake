# Each folder's library compiles a one-line file including a header of every other folder:
# the folders it declares must be found, every other folder must not be.
#
# Run by ctest as: cmake -DCXX=... -DROOMS="target=dir;dir|target=..." -P check_rooms.cmake
# Example: in tessaron_layout, #include "platform/controls.h" compiles and
# #include "timezones/conversion.h" stops with "No such file or directory".

cmake_minimum_required(VERSION 3.25)

# One header from each folder, and the libraries that may include it.
set(all_rules "tessaron_platform_api,tessaron_layout,tessaron_timezones,tessaron_commands")
set(headers
  "platform/platform.h=${all_rules},tessaron_core,tessaron_tzdb"
  "platform/controls.h=${all_rules},tessaron_core,tessaron_tzdb"
  "layout/dot_layout.h=tessaron_layout,tessaron_core"
  "timezones/conversion.h=tessaron_timezones,tessaron_core,tessaron_tzdb"
  "commands/menu.h=tessaron_commands,tessaron_core"
  "core/tessaron.h=tessaron_core"
  "platform/tzdb/catalogue.h=tessaron_tzdb"
  "i18n/i18n.h=${all_rules},tessaron_core,tessaron_tzdb"
  "platform/qt/units.h=")

set(work ${CMAKE_CURRENT_BINARY_DIR}/rooms_check)
file(MAKE_DIRECTORY ${work})
set(failures 0)
foreach(room IN LISTS ROOMS)
  string(REPLACE "=" ";" parts "${room}")
  list(GET parts 0 target)
  list(GET parts 1 dirs)
  string(REPLACE "|" ";" dirs "${dirs}")
  list(TRANSFORM dirs PREPEND "-I")
  foreach(entry IN LISTS headers)
    string(REPLACE "=" ";" parts "${entry}")
    list(GET parts 0 header)
    list(LENGTH parts n)
    set(allowed "")
    if(n GREATER 1)
      list(GET parts 1 allowed)
    endif()
    string(REPLACE "," ";" allowed "${allowed}")
    if(target IN_LIST allowed)
      set(expect found)
    else()
      set(expect missing)
    endif()
    file(WRITE ${work}/planted.cpp "#include \"${header}\"\n")
    # Preprocessing alone finds every include, at a small part of a compile's cost.
    execute_process(COMMAND ${CXX} -std=c++20 -E -o ${work}/planted.i ${dirs} ${work}/planted.cpp
      RESULT_VARIABLE result ERROR_VARIABLE errors OUTPUT_QUIET)
    if(result EQUAL 0)
      set(got found)
    # GCC's words, then clang's.
    elseif(errors MATCHES "${header}: No such file or directory" OR
           errors MATCHES "'${header}' file not found")
      set(got missing)
    else()
      set(got "broken: ${errors}")
    endif()
    if(NOT got STREQUAL expect)
      message(SEND_ERROR "${target} including ${header}: expected ${expect}, got ${got}")
      math(EXPR failures "${failures} + 1")
    endif()
  endforeach()
endforeach()
list(LENGTH ROOMS count)
if(count LESS 6)
  message(FATAL_ERROR "expected the include paths of 6 libraries, got ${count}")
endif()
if(failures GREATER 0)
  message(FATAL_ERROR "${failures} includes crossed or missed their rooms")
endif()
message(STATUS "every room sees what it declares and nothing else")
