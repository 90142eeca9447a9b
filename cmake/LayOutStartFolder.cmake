# Lays out the start folder from dist/ (run with cmake -P):
#   -DSOURCE=<dist> -DTARGET=<start folder> -DLOCALIZE=<korvanectl>
# Skins, themes and the factory (Default_) files are refreshed on every build.
# The live configuration and data files are the user's: they are copied only
# when missing, so a rebuild never throws away saved settings. The language
# files are the program's, refreshed on every build. Every INI file copied is
# rewritten in the code page the program uses for this locale.
file(GLOB_RECURSE entries RELATIVE "${SOURCE}" "${SOURCE}/*")
set(localize_files "")
foreach(entry IN LISTS entries)
  if(entry STREQUAL "CMakeLists.txt" OR entry MATCHES "^linux/" OR entry MATCHES "(^|/)\\.gitkeep$")
    continue()
  endif()
  set(from "${SOURCE}/${entry}")
  set(to "${TARGET}/${entry}")
  get_filename_component(name "${entry}" NAME)
  if(entry MATCHES "^(configure|data)/.*\\.ini$")
    if(NOT name MATCHES "^Default_" AND EXISTS "${to}")
      continue()
    endif()
    configure_file("${from}" "${to}" COPYONLY)
    list(APPEND localize_files "${to}")
  elseif(entry MATCHES "^Language/.*\\.ini$")
    configure_file("${from}" "${to}" COPYONLY)
    list(APPEND localize_files "${to}")
  else()
    configure_file("${from}" "${to}" COPYONLY)
  endif()
endforeach()
file(MAKE_DIRECTORY "${TARGET}/Language")
if(localize_files)
  execute_process(COMMAND "${LOCALIZE}" --dir "${SOURCE}" config localize ${localize_files}
                  RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "Could not write the INI files in the locale's code page")
  endif()
endif()
