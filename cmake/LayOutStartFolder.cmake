# Lays out the start folder from dist/ (run with cmake -P):
#   -DSOURCE=<dist> -DTARGET=<start folder>
# Every shipped file is copied byte for byte, whatever the locale of the
# build: skins, themes, the language files and the factory (Default_) files.
# The live configuration and data files are the user's; the program makes
# them from the factory files at its first start, so none is laid out here
# and a rebuild never touches them.
file(GLOB_RECURSE entries RELATIVE "${SOURCE}" "${SOURCE}/*")
foreach(entry IN LISTS entries)
  if(entry STREQUAL "CMakeLists.txt" OR entry MATCHES "^linux/" OR entry MATCHES "(^|/)\\.gitkeep$")
    continue()
  endif()
  get_filename_component(name "${entry}" NAME)
  if(entry MATCHES "^(configure|data)/.*\\.ini$" AND NOT name MATCHES "^Default_")
    continue()
  endif()
  configure_file("${SOURCE}/${entry}" "${TARGET}/${entry}" COPYONLY)
endforeach()
file(MAKE_DIRECTORY "${TARGET}/Language" "${TARGET}/configure" "${TARGET}/data")
