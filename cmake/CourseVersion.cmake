# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The program's version: the release named in the top CMakeLists.txt, and for a build from any
# commit but the release's own tag "v<release>" the commit appended, "<release>+git<N>.g<hash>",
# where N counts every commit of the history. N only grows along the history, so a package built
# from newer code always has the higher version, and the next release ("1.1.0") sorts above every
# build after the last one ("1.0.0+git912.g1a2b3c4"). Without git (a source tarball) the version
# is the release alone.
#
# Included at configure time (course_describe_version()) and run as a script at every build:
#   cmake -DSOURCE_DIR=... -DRELEASE=... -DOUTPUT_DIR=... -P CourseVersion.cmake
# which writes OUTPUT_DIR/course_version.h (for the programs) and OUTPUT_DIR/course_version.txt
# (for the package), each only when its text changes, so that nothing is rebuilt in between.

function(course_describe_version source_dir release out_var)
  set(_version "${release}")
  find_program(_git git)
  if(_git AND EXISTS "${source_dir}/.git")
    execute_process(COMMAND "${_git}" -C "${source_dir}" describe --tags --exact-match
                            --match "v${release}" HEAD
                    RESULT_VARIABLE _at_tag OUTPUT_QUIET ERROR_QUIET)
    execute_process(COMMAND "${_git}" -C "${source_dir}" rev-list --count HEAD
                    RESULT_VARIABLE _count_result OUTPUT_VARIABLE _count
                    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    execute_process(COMMAND "${_git}" -C "${source_dir}" rev-parse --short=7 HEAD
                    RESULT_VARIABLE _hash_result OUTPUT_VARIABLE _hash
                    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(NOT _at_tag EQUAL 0 AND _count_result EQUAL 0 AND _hash_result EQUAL 0)
      set(_version "${release}+git${_count}.g${_hash}")
    endif()
  endif()
  set(${out_var} "${_version}" PARENT_SCOPE)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
  course_describe_version("${SOURCE_DIR}" "${RELEASE}" _version)
  file(CONFIGURE OUTPUT "${OUTPUT_DIR}/course_version.h"
       CONTENT "#pragma once\n#define COURSE_VERSION \"${_version}\"\n" @ONLY)
  file(CONFIGURE OUTPUT "${OUTPUT_DIR}/course_version.txt" CONTENT "${_version}\n" @ONLY)
endif()
