# The same source makes the same program file, byte for byte, wherever it was checked out and
# built and whenever: no build folder's path and no link time in what ships, so that anyone can
# rebuild a release and compare its hashes (README.md, "Verifying a download").
# __FILE__ and any path the compiler keeps read relative to the source or the build folder.
add_compile_options("-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=" "-ffile-prefix-map=${CMAKE_BINARY_DIR}/=")
# The linker writes the time of the link into the program's header unless told not to.
add_link_options(-Wl,--no-insert-timestamp)
# strip writes one anew unless SOURCE_DATE_EPOCH names it: none either, as the linker leaves it.
set(dusk_strip ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0 ${CMAKE_STRIP})
