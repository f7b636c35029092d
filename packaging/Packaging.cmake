# The Debian package (`cpack -G DEB`, installed under /usr): the programs and their files as
# `cmake --install` lays them out, the documentation Debian asks for (copyright, changelog,
# README, manual pages), and the control fields. The libraries the programs link decide the
# dependencies (dpkg-shlibdeps).

set(TUNX_MAINTAINER "TUNX4K developers <developers@tunx4k.org>" CACHE STRING
    "The package's maintainer, as Name <address>")
set(TUNX_HOMEPAGE "https://tunx4k.org/" CACHE STRING
    "The program's homepage, for the package and its AppStream data")
set(TUNX_MAN_PAGES AUTO CACHE STRING
    "Make the manual pages with help2man: ON, OFF, or AUTO (when help2man is installed)")
set_property(CACHE TUNX_MAN_PAGES PROPERTY STRINGS AUTO ON OFF)

set(TUNX_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(TUNX_DOC_OUT ${CMAKE_BINARY_DIR}/doc)
set(TUNX_DOC_DIR share/doc/tunx4k)

# The changelog's latest entry is this version.
file(STRINGS ${TUNX_PACKAGING_DIR}/changelog changelog_top LIMIT_COUNT 1)
if(NOT changelog_top MATCHES "^tunx4k \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog: the first entry must be version ${PROJECT_VERSION}")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${TUNX_PACKAGING_DIR}/changelog
             ${CMAKE_SOURCE_DIR}/LICENSE)

# copyright: Debian's machine-readable format, the licence text from LICENSE (its lines indented
# by one space, an empty line as " .").
file(STRINGS ${CMAKE_SOURCE_DIR}/LICENSE license_lines)
list(FILTER license_lines EXCLUDE REGEX "^(MIT License|Copyright .*)$")
set(TUNX_LICENSE_TEXT)
set(started OFF)
foreach(line IN LISTS license_lines)
  if(line STREQUAL "" AND NOT started)
    continue()
  endif()
  set(started ON)
  if(line STREQUAL "")
    string(APPEND TUNX_LICENSE_TEXT " .\n")
  else()
    string(APPEND TUNX_LICENSE_TEXT " ${line}\n")
  endif()
endforeach()
string(STRIP "${TUNX_LICENSE_TEXT}" TUNX_LICENSE_TEXT)
set(TUNX_LICENSE_TEXT " ${TUNX_LICENSE_TEXT}")
configure_file(${TUNX_PACKAGING_DIR}/copyright.in ${TUNX_DOC_OUT}/copyright @ONLY)

# Compressed as Debian wants it: best compression, no time stamp.
function(tunx_gzip source output)
  add_custom_command(OUTPUT ${output}
    COMMAND gzip -9nc ${source} > ${output}
    DEPENDS ${source} VERBATIM)
endfunction()
tunx_gzip(${TUNX_PACKAGING_DIR}/changelog ${TUNX_DOC_OUT}/changelog.gz)
set(doc_outputs ${TUNX_DOC_OUT}/changelog.gz)

# Manual pages from the programs' own --help and --version.
find_program(TUNX_HELP2MAN help2man)
if(TUNX_MAN_PAGES STREQUAL "ON" AND NOT TUNX_HELP2MAN)
  message(FATAL_ERROR "TUNX_MAN_PAGES=ON needs help2man (Debian package help2man)")
endif()
if(TUNX_HELP2MAN AND NOT TUNX_MAN_PAGES STREQUAL "OFF")
  set(man_tunx4k "control program of the TUNX4K function generator and measuring front end")
  set(man_tunx4k-cli "run the TUNX4K control program headless, driven by a script")
  set(programs tunx4k-cli)
  if(TUNX_BUILD_APP)
    list(APPEND programs tunx4k)
  endif()
  foreach(program ${programs})
    set(page ${TUNX_DOC_OUT}/${program}.1)
    add_custom_command(OUTPUT ${page}
      COMMAND ${TUNX_HELP2MAN} --no-info --section=1 "--name=${man_${program}}"
              --include=${TUNX_PACKAGING_DIR}/${program}.h2m --output=${page}
              $<TARGET_FILE:${program}>
      DEPENDS ${program} ${TUNX_PACKAGING_DIR}/${program}.h2m VERBATIM)
    tunx_gzip(${page} ${page}.gz)
    list(APPEND doc_outputs ${page}.gz)
    install(FILES ${page}.gz DESTINATION share/man/man1)
  endforeach()
  message(STATUS "Manual pages: help2man")
else()
  message(STATUS "Manual pages: none (help2man not installed, or TUNX_MAN_PAGES=OFF)")
endif()
add_custom_target(tunx4k_docs ALL DEPENDS ${doc_outputs})

install(FILES ${TUNX_DOC_OUT}/copyright ${TUNX_DOC_OUT}/changelog.gz
        ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${TUNX_DOC_DIR})

set(CPACK_PACKAGE_NAME tunx4k)
set(CPACK_PACKAGE_VENDOR "TUNX4K developers")
set(CPACK_PACKAGE_CONTACT ${TUNX_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${TUNX_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${TUNX_HOMEPAGE})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "control program of the TUNX4K function generator and measuring front end")
# The summary is the synopsis; this text follows it (CPack indents its lines).
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "The desktop program of the TUNX4K USB bench instrument: a DDS function
generator with ten output modes, and a monitor window with a two-channel
oscilloscope, a sweep analyser, a spectrum view and a frequency counter.
A built-in virtual instrument runs it without hardware (tunx4k --simulate);
tunx4k-cli runs it headless from a script.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
