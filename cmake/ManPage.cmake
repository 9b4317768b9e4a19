# brevant_add_manpage(PROGRAM TARGET NAME): the manual page man/PROGRAM.1 in the
# build folder, made by help2man from the program's --help and --version, as
# target TARGET (built with everything). Without help2man, or when the programs
# are built for another system, there is none.
find_program(HELP2MAN_EXECUTABLE help2man)
function(brevant_add_manpage program target name)
  if(NOT HELP2MAN_EXECUTABLE OR CMAKE_CROSSCOMPILING)
    return()
  endif()
  set(page ${CMAKE_BINARY_DIR}/man/${program}.1)
  add_custom_command(
    OUTPUT ${page}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${HELP2MAN_EXECUTABLE} --no-info --section=1 "--name=${name}" --output=${page}
            $<TARGET_FILE:${program}>
    DEPENDS ${program}
    COMMENT "Making the manual page of ${program}"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${page})
endfunction()
