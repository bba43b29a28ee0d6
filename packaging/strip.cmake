# Run by CPack on the staged files before it packs them: the programs stripped as Debian's
# own packages are (dh_strip), the compiler's .comment and .note sections with the symbols.
file(GLOB_RECURSE programs LIST_DIRECTORIES false "${CPACK_TEMPORARY_DIRECTORY}/*/usr/bin/*")
foreach(program ${programs})
  execute_process(COMMAND strip --remove-section=.comment --remove-section=.note "${program}"
                  COMMAND_ERROR_IS_FATAL ANY)
endforeach()
