# brevant_add_version_resource(TARGET PROGRAM_NAME DESCRIPTION): gives a Windows
# program its version information, with the project's version (the same as the
# Linux package's) and the company and product names every program shares.
set(BREVANT_VERSION_RESOURCE_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/version_info.rc.in)
function(brevant_add_version_resource target program_name description)
  set(BREVANT_PROGRAM_NAME "${program_name}")
  set(BREVANT_FILE_DESCRIPTION "${description}")
  set(script ${CMAKE_CURRENT_BINARY_DIR}/${program_name}_version.rc)
  configure_file(${BREVANT_VERSION_RESOURCE_TEMPLATE} ${script} @ONLY)
  target_sources(${target} PRIVATE ${script})
endfunction()
