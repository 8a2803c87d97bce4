# Delay-loaded system DLLs for the Windows build: such a DLL is loaded at the first call into
# it (by the MinGW runtime's __delayLoadHelper2), not before the program's first line. Under
# Wine each DLL loaded at start-up costs milliseconds before the main window can show, and the
# file dialog, the internet service, the sound player, the signature check and the blending of
# pictures are not needed for that.
#
# dusk_delay_import_library(<variable> <library>) writes a delay-import library for every
# export of the MinGW import library lib<library>.a into the build tree and sets <variable>
# to its path, to be linked in place of <library>.
function(dusk_delay_import_library variable library)
  find_library(DUSK_IMPORT_LIBRARY_${library} NAMES lib${library}.a REQUIRED)
  set(import ${DUSK_IMPORT_LIBRARY_${library}})
  execute_process(COMMAND ${CMAKE_DLLTOOL} --identify ${import}
                  OUTPUT_VARIABLE dll OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND ${CMAKE_NM} ${import} OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL " I __imp_[^\n]+" entries "${symbols}")
  set(definition "LIBRARY ${dll}\nEXPORTS\n")
  foreach(entry IN LISTS entries)
    string(REPLACE " I __imp_" "" function "${entry}")
    string(APPEND definition "${function}\n")
  endforeach()
  set(directory ${CMAKE_BINARY_DIR}/delay_load)
  file(WRITE ${directory}/${library}.def "${definition}")
  set(output ${directory}/lib${library}_delay.a)
  execute_process(COMMAND ${CMAKE_DLLTOOL} -d ${directory}/${library}.def -y ${output}
                  COMMAND_ERROR_IS_FATAL ANY)
  set(${variable} ${output} PARENT_SCOPE)
endfunction()
