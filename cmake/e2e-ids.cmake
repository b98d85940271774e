# Writes the program's ids as shell variables for the end-to-end cases
# (tests/e2e/run sources the file): every `#define NAME VALUE` of the headers
# in RES_DIR whose value is a number, or the name of one defined there,
# becomes the line NAME=NUMBER (in decimal, as the driver reads ids).
# Other defines (texts, expressions) are left out.
#
#   cmake -DRES_DIR=res -DOUTPUT=build/win/e2e_ids.sh -P cmake/e2e-ids.cmake

file(GLOB headers ${RES_DIR}/*.h)
list(SORT headers)
set(names)
foreach(header ${headers})
  file(STRINGS ${header} defines REGEX "^#define[ \t]+[A-Za-z_][A-Za-z0-9_]*[ \t]+[A-Za-z0-9_]+")
  foreach(define ${defines})
    string(REGEX MATCH "^#define[ \t]+([A-Za-z_][A-Za-z0-9_]*)[ \t]+([A-Za-z0-9_]+)" _ "${define}")
    set(name ${CMAKE_MATCH_1})
    set(value ${CMAKE_MATCH_2})
    if(DEFINED raw_${name} AND NOT raw_${name} STREQUAL value)
      message(FATAL_ERROR "${name} is defined twice, as ${raw_${name}} and as ${value}")
    endif()
    if(NOT DEFINED raw_${name})
      list(APPEND names ${name})
    endif()
    set(raw_${name} ${value})
  endforeach()
endforeach()

get_filename_component(res_name ${RES_DIR} NAME)
set(text "# The program's ids, written by the build from ${res_name}/*.h (cmake/e2e-ids.cmake).\n")
foreach(name ${names})
  # A name for another name is followed to its number.
  set(value ${raw_${name}})
  set(steps 0)
  while(DEFINED raw_${value} AND steps LESS 10)
    set(value ${raw_${value}})
    math(EXPR steps "${steps} + 1")
  endwhile()
  if(value MATCHES "^(0[xX][0-9a-fA-F]+|[0-9]+)$")
    math(EXPR value "${value}" OUTPUT_FORMAT DECIMAL)
    string(APPEND text "${name}=${value}\n")
  endif()
endforeach()

# Written aside and then moved, so a run never reads half a file.
file(WRITE ${OUTPUT}.new "${text}")
file(RENAME ${OUTPUT}.new ${OUTPUT})
