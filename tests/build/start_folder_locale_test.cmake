# Lays out the start folder twice, as the build does, once under LC_ALL=C and
# once under zh_CN.UTF-8, and checks that the two are equal byte for byte,
# that every file is the shipped one unchanged, and that no live settings
# file is laid out. Run with cmake -P: -DDIST=<dist> -DLAYOUT=<script> -DWORK=<folder>
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${WORK}")
foreach(locale IN ITEMS C zh_CN.UTF-8)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env LC_ALL=${locale} LANG=${locale} LC_MESSAGES=${locale}
            ${CMAKE_COMMAND} -DSOURCE=${DIST} -DTARGET=${WORK}/${locale} -P ${LAYOUT}
    RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "laying out the start folder under ${locale} failed: ${result}")
  endif()
endforeach()

file(GLOB_RECURSE c_files RELATIVE "${WORK}/C" "${WORK}/C/*")
file(GLOB_RECURSE zh_files RELATIVE "${WORK}/zh_CN.UTF-8" "${WORK}/zh_CN.UTF-8/*")
list(SORT c_files)
list(SORT zh_files)
if(NOT c_files STREQUAL zh_files)
  message(FATAL_ERROR "the two start folders hold different files:\n${c_files}\n${zh_files}")
endif()
list(LENGTH c_files count)
if(count LESS 10)
  message(FATAL_ERROR "the start folder holds only ${count} files")
endif()

foreach(entry IN LISTS c_files)
  foreach(other IN ITEMS "${WORK}/zh_CN.UTF-8/${entry}" "${DIST}/${entry}")
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${WORK}/C/${entry}" "${other}"
                    RESULT_VARIABLE differs)
    if(NOT differs EQUAL 0)
      message(FATAL_ERROR "${entry} differs from ${other}")
    endif()
  endforeach()
  get_filename_component(name "${entry}" NAME)
  if(entry MATCHES "^(configure|data)/" AND NOT name MATCHES "^Default_")
    message(FATAL_ERROR "the build laid out the live file ${entry}")
  endif()
endforeach()
foreach(expected IN ITEMS "Language/2052/Simplified Chinese.ini" "configure/Default_GM.ini"
                          "data/Default_Mode1_data.ini")
  if(NOT expected IN_LIST c_files)
    message(FATAL_ERROR "${expected} is missing from the start folder")
  endif()
endforeach()
file(REMOVE_RECURSE "${WORK}")
message(STATUS "${count} files, equal under both locales and to the shipped ones")
