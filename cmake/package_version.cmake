# The version of the Debian packages: the program's own (1.0H, which its caption names) and
# the number of commits behind the build, so that a package built from a newer commit
# installs as an upgrade. Built outside a git checkout: a time stamp, below any counted one
# (SOURCE_DATE_EPOCH fixes it for a reproducible build).
#
#   include(package_version)  plx_package_version(<source folder> <variable>)
#   cmake -D SOURCE=<source folder> -P package_version.cmake      prints it
function(plx_package_version source variable)
  execute_process(COMMAND git -C "${source}" rev-list --count HEAD
                  OUTPUT_VARIABLE commits OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE failed ERROR_QUIET)
  if(failed OR NOT commits MATCHES "^[0-9]+$")
    string(TIMESTAMP stamp "%Y%m%d%H%M%S" UTC)
    set(commits "0.${stamp}")
  endif()
  set(${variable} "1.0H+${commits}" PARENT_SCOPE)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE AND DEFINED SOURCE)
  plx_package_version("${SOURCE}" version)
  message("${version}")
endif()
