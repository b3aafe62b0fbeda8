# The parts of the build beyond the calculation core each need their own packages. A part's
# option is AUTO (built when its packages are found, one line saying so when they are not), ON
# (its packages are required) or OFF.

# linkcalc_part(NAME DESCRIPTION DEBIAN_PACKAGES find_package arguments...): sets
# LINKCALC_WITH_<NAME> to ON or OFF from the option LINKCALC_BUILD_<NAME>.
macro(linkcalc_part name description packages)
  set(LINKCALC_BUILD_${name} AUTO CACHE STRING "Build ${description}: AUTO, ON or OFF")
  set_property(CACHE LINKCALC_BUILD_${name} PROPERTY STRINGS AUTO ON OFF)
  set(LINKCALC_WITH_${name} OFF)
  if(LINKCALC_BUILD_${name} STREQUAL "ON")
    find_package(${ARGN} REQUIRED)
    set(LINKCALC_WITH_${name} ON)
  elseif(LINKCALC_BUILD_${name} STREQUAL "AUTO")
    find_package(${ARGN} QUIET)
    if(${ARGV3}_FOUND)
      set(LINKCALC_WITH_${name} ON)
    else()
      message(STATUS "Not building ${description}: ${ARGV3} not found (Debian: ${packages})")
    endif()
  elseif(NOT LINKCALC_BUILD_${name} STREQUAL "OFF")
    message(FATAL_ERROR "LINKCALC_BUILD_${name} is '${LINKCALC_BUILD_${name}}': AUTO, ON or OFF")
  endif()
endmacro()
