# Puts the show maker's own files over the generated ones in the show folder, after the
# generators have run: every file under OWN/data/ (an image in place of a generated one, or the
# song data/mirekand2013.mp3) and OWN/song.events go to the same path under SHOW. The generators
# never write into OWN, and since this runs after each of their runs, a generated file never
# stays over an own one. Each copy gets the time of the copy, so the build does not take the
# replaced file for one older than its sources.
#
#   cmake -DOWN=show/own -DSHOW=build/show -P own_files.cmake
if(NOT DEFINED OWN OR NOT DEFINED SHOW)
  message(FATAL_ERROR "own_files.cmake: give -DOWN=FOLDER -DSHOW=FOLDER")
endif()
file(GLOB_RECURSE own_files LIST_DIRECTORIES false RELATIVE ${OWN} ${OWN}/data/*)
if(EXISTS ${OWN}/song.events)
  list(APPEND own_files song.events)
endif()
foreach(name IN LISTS own_files)
  get_filename_component(folder ${SHOW}/${name} DIRECTORY)
  file(MAKE_DIRECTORY ${folder})
  file(COPY_FILE ${OWN}/${name} ${SHOW}/${name} RESULT failed)
  if(failed)
    message(FATAL_ERROR "own_files.cmake: cannot copy ${OWN}/${name} to ${SHOW}/${name}: ${failed}")
  endif()
  file(TOUCH_NOCREATE ${SHOW}/${name})
  message(STATUS "${name}: your own, from ${OWN}/${name}")
endforeach()
