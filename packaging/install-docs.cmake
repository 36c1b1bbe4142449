# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Install step of the package's documents and manual pages (packaging/CMakeLists.txt sets
# _maintainer, _version_file, _release, _source, _work, _programs, _doc, _man and _strip before
# it): the copyright file, the changelog with this build's entry on top when it is one between
# releases, a manual page per program made from its --help and --version, and the installed
# programs stripped of the sections a package does not need.
file(MAKE_DIRECTORY "${_work}")
set(_version "${_release}")
if(EXISTS "${_version_file}")
  file(STRINGS "${_version_file}" _version LIMIT_COUNT 1)
endif()

file(READ "${_source}/packaging/copyright" _text)
string(REPLACE "@MAINTAINER@" "${_maintainer}" _text "${_text}")
file(WRITE "${_work}/copyright" "${_text}")
file(INSTALL "${_work}/copyright" DESTINATION "${_doc}")

file(READ "${_source}/packaging/changelog" _text)
string(REPLACE "@MAINTAINER@" "${_maintainer}" _text "${_text}")
if(NOT _version STREQUAL _release)
  string(REGEX REPLACE "^.*\\.g" "" _commit "${_version}")
  string(TIMESTAMP _now "%a, %d %b %Y %H:%M:%S +0000" UTC)
  set(_text "course-testing (${_version}) unstable; urgency=medium

  * A build between releases, from commit ${_commit}.

 -- ${_maintainer}  ${_now}

${_text}")
endif()
file(WRITE "${_work}/changelog" "${_text}")
execute_process(COMMAND gzip -9nf "${_work}/changelog" RESULT_VARIABLE _rc)
if(NOT _rc EQUAL 0)
  message(FATAL_ERROR "gzip failed on the changelog")
endif()
file(INSTALL "${_work}/changelog.gz" DESTINATION "${_doc}")

string(TIMESTAMP _date "%Y-%m-%d" UTC)
foreach(_program IN LISTS _programs)
  get_filename_component(_name "${_program}" NAME)
  execute_process(COMMAND sh "${_source}/packaging/man-page.sh" "${_program}" "${_date}"
                  OUTPUT_FILE "${_work}/${_name}.1" RESULT_VARIABLE _rc)
  if(NOT _rc EQUAL 0)
    message(FATAL_ERROR "the manual page of ${_name} was not made (${_program} --help failed)")
  endif()
  execute_process(COMMAND gzip -9nf "${_work}/${_name}.1")
  file(INSTALL "${_work}/${_name}.1.gz" DESTINATION "${_man}")
endforeach()

# What Debian's own packaging removes besides the symbols: the compiler's notes.
if(CMAKE_INSTALL_DO_STRIP AND _strip)
  foreach(_program IN LISTS _programs)
    get_filename_component(_name "${_program}" NAME)
    execute_process(COMMAND "${_strip}" --remove-section=.comment --remove-section=.note
                            "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/bin/${_name}")
  endforeach()
  file(GLOB _modules "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/lib*/course-testing/*.so")
  foreach(_module IN LISTS _modules)
    execute_process(COMMAND "${_strip}" --remove-section=.comment --remove-section=.note
                            --strip-unneeded "${_module}")
  endforeach()
endif()
