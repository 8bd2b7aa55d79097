# Optional parts of the build: a library that only one program needs, or a
# tool that only some tests run. When one is missing, configure says in one
# line what is left out and how to get it, builds everything else, and each
# test that needs it is registered as skipped with the reason in its output.
#
#   fxt_optional_package(nlohmann_json VERSION 3.10 DEBIAN nlohmann-json3-dev
#                        ELSE "fxt-language-server and its tests are not built")
#   fxt_optional_program(nvim DEBIAN neovim ELSE "the Neovim test is skipped")
#   if(FXT_HAVE_nlohmann_json) ... endif()
#   fxt_add_test(NAME lsp/neovim NEEDS nlohmann_json nvim COMMAND ...)
#   fxt_skipped_test(NAME unit-tests NEEDS GTest)
#
# A part's name is the package's (as find_package spells it) or the
# program's; FXT_HAVE_<name> tells whether it was found, and for a program
# FXT_PROGRAM_<name> holds its path. With the environment variable
# FXT_REQUIRE_OPTIONAL set (CI sets it), a missing part fails the configure
# instead, so that no test is skipped in silence where everything should be
# installed.
include_guard(GLOBAL)

# Records whether the part NAME was found, and says what is lost when not.
function(_fxt_optional_part name found debian lost)
  set(FXT_HAVE_${name} ${found} PARENT_SCOPE)
  if(found)
    return()
  endif()
  # No semicolon: the reason travels in CMake lists.
  set(reason "${name} was not found (tools/install-dependencies installs Debian's ${debian})")
  set_property(GLOBAL PROPERTY FXT_MISSING_${name} "${reason}")
  if(DEFINED ENV{FXT_REQUIRE_OPTIONAL})
    message(FATAL_ERROR "fxt: ${lost}: ${reason}. FXT_REQUIRE_OPTIONAL asks for every part.")
  endif()
  message(STATUS "fxt: ${lost}: ${reason}")
endfunction()

# fxt_optional_package(PACKAGE [VERSION V] DEBIAN DEB_PACKAGE ELSE "what is lost")
# find_package() in quiet mode; its imported targets are seen by the caller.
macro(fxt_optional_package package)
  cmake_parse_arguments(_fxt_package "" "VERSION;DEBIAN;ELSE" "" ${ARGN})
  find_package(${package} ${_fxt_package_VERSION} QUIET)
  _fxt_optional_part(${package} "${${package}_FOUND}" "${_fxt_package_DEBIAN}"
                     "${_fxt_package_ELSE}")
endmacro()

# fxt_optional_program(PROGRAM DEBIAN DEB_PACKAGE ELSE "what is lost")
# Looked for on the PATH alone, where the tests will run it from.
function(fxt_optional_program program)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "DEBIAN;ELSE" "")
  find_program(FXT_PROGRAM_${program} ${program} NO_CACHE NO_DEFAULT_PATH PATHS ENV PATH)
  set(found FALSE)
  if(FXT_PROGRAM_${program})
    set(found TRUE)
  endif()
  _fxt_optional_part(${program} ${found} "${arg_DEBIAN}" "${arg_ELSE}")
  set(FXT_HAVE_${program} ${found} PARENT_SCOPE)
  set(FXT_PROGRAM_${program} ${FXT_PROGRAM_${program}} PARENT_SCOPE)
endfunction()

# fxt_skipped_test(NAME name REASON text | NAME name NEEDS PART...): a test
# that CTest reports as skipped, its output saying why: the reason given, or
# what is missing of the parts named.
function(fxt_skipped_test)
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "NAME;REASON" "NEEDS")
  set(reasons "${arg_REASON}")
  foreach(part IN LISTS arg_NEEDS)
    if(NOT FXT_HAVE_${part})
      get_property(reason GLOBAL PROPERTY FXT_MISSING_${part})
      list(APPEND reasons "${reason}")
    endif()
  endforeach()
  list(JOIN reasons ", " reasons)
  add_test(NAME ${arg_NAME} COMMAND ${CMAKE_COMMAND} -E echo "SKIP: ${reasons}")
  set_tests_properties(${arg_NAME} PROPERTIES SKIP_REGULAR_EXPRESSION "^SKIP: ")
endfunction()

# fxt_add_test(NAME name [NEEDS PART...] COMMAND ...): add_test() when every
# part it needs was found, else a skipped test that names the missing ones.
# A test may also skip itself at run time by printing its reason and exiting
# with status 77.
function(fxt_add_test)
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "NAME" "NEEDS;COMMAND")
  foreach(part IN LISTS arg_NEEDS)
    if(NOT FXT_HAVE_${part})
      fxt_skipped_test(NAME ${arg_NAME} NEEDS ${arg_NEEDS})
      return()
    endif()
  endforeach()
  add_test(NAME ${arg_NAME} COMMAND ${arg_COMMAND})
  set_tests_properties(${arg_NAME} PROPERTIES SKIP_RETURN_CODE 77)
endfunction()
