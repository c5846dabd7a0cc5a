# Writes a C++ header that holds text files byte for byte, as
# `inline constexpr std::string_view` constants: the core library carries its
# page scripts without Qt resources. Every byte is written as a \x escape, so
# tabs, line ends, quotes and backslashes come through unchanged.
#
#   cmake -D OUTPUT=out.h -D NAMESPACE=ns -D BASE=dir -D "ENTRIES=kName;file;..." -P embed_text.cmake
#
# ENTRIES pairs a constant's name with a file relative to BASE.
cmake_minimum_required(VERSION 3.25)

foreach(var OUTPUT NAMESPACE BASE ENTRIES)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "embed_text.cmake: ${var} is not set")
  endif()
endforeach()
list(LENGTH ENTRIES count)
math(EXPR odd "${count} % 2")
if(count EQUAL 0 OR odd)
  message(FATAL_ERROR "embed_text.cmake: ENTRIES must pair names with files")
endif()

set(text "// Made by cmake/embed_text.cmake from the files named below. Do not edit.\n")
string(APPEND text "#pragma once\n\n#include <string_view>\n\nnamespace ${NAMESPACE} {\n")
math(EXPR last "${count} - 1")
foreach(i RANGE 0 ${last} 2)
  math(EXPR j "${i} + 1")
  list(GET ENTRIES ${i} name)
  list(GET ENTRIES ${j} file)
  file(READ "${BASE}/${file}" hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  # 32 bytes a line, \xNN for each byte, the lines joined as adjacent literals.
  set(lines "")
  foreach(at RANGE 0 ${digits} 64)
    string(SUBSTRING "${hex}" ${at} 64 chunk)
    if(NOT chunk STREQUAL "")
      string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\\\x\\1" chunk "${chunk}")
      string(APPEND lines "\n    \"${chunk}\"")
    endif()
  endforeach()
  if(lines STREQUAL "")
    set(lines "\n    \"\"")
  endif()
  string(APPEND text "\n// ${file}\ninline constexpr std::string_view ${name}{${lines},\n    ${size}};\n")
endforeach()
string(APPEND text "\n}  // namespace ${NAMESPACE}\n")

# Written only when it changes, so that an unchanged script rebuilds nothing.
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
  if(old STREQUAL text)
    return()
  endif()
endif()
file(WRITE "${OUTPUT}" "${text}")
