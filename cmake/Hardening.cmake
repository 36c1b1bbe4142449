# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Debian's hardening flags (the ones dpkg-buildflags gives a package build with
# hardening=+all): stack protector, format checks, fortified libc calls, read-only relocations
# bound at start. Taken from dpkg-buildflags, so that each Debian release gets its own set
# (Debian 13 adds stack-clash and control-flow protection); without dpkg-dev nothing is added.
# Debug and optimisation levels stay those of the build type, and the path maps are left out
# (they would make every checkout's objects differ for ccache). The fuzzing build, under the
# sanitizers, goes without them.
option(COURSE_HARDENING "Build with Debian's hardening flags" ON)
if(COURSE_HARDENING AND NOT COURSE_BUILD_FUZZERS)
  find_program(DPKG_BUILDFLAGS dpkg-buildflags)
  if(DPKG_BUILDFLAGS)
    set(_hardening)
    foreach(_kind CPPFLAGS CXXFLAGS LDFLAGS)
      execute_process(COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                              ${DPKG_BUILDFLAGS} --get ${_kind}
                      OUTPUT_VARIABLE _flags OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
      separate_arguments(_flags UNIX_COMMAND "${_flags}")
      foreach(_flag IN LISTS _flags)
        if(_flag MATCHES "^-(g|O.?|ffile-prefix-map=.*|fdebug-prefix-map=.*)$")
          continue()
        endif()
        if(_kind STREQUAL "LDFLAGS")
          add_link_options(${_flag})
        elseif(_flag MATCHES "^-D_FORTIFY_SOURCE=")
          # Fortified calls need optimisation; a debug build would only warn about it.
          add_compile_options($<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE> $<$<NOT:$<CONFIG:Debug>>:${_flag}>)
        else()
          add_compile_options(${_flag})
        endif()
        list(APPEND _hardening ${_flag})
      endforeach()
    endforeach()
    message(STATUS "Hardening flags from dpkg-buildflags: ${_hardening}")
  endif()
endif()
