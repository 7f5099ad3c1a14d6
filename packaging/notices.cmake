# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later

# THIRD-PARTY-NOTICES.txt, which every package carries: where the source is,
# and the copyright notices and licence texts of the parts that the static
# programs carry built in, taken from Debian's packages of the same libraries
# and font. The library packages come with the build host's Qt.
set(GLUKARA_NOTICES ${CMAKE_BINARY_DIR}/THIRD-PARTY-NOTICES.txt)
file(READ ${CMAKE_CURRENT_LIST_DIR}/notices.txt.in notices)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/notices.txt.in)
string(CONFIGURE "${notices}" notices @ONLY)
# Each a heading and the package whose copyright file holds it; a glob, as
# Debian 13 renamed some packages (libqt6core6t64).
set(notice_parts
    "Qt 6.4.2|libqt6core6*"
    "FreeType|libfreetype6"
    "HarfBuzz|libharfbuzz0b"
    "libpng|libpng16-16*"
    "PCRE2|libpcre2-16-0"
    "double-conversion|libdouble-conversion3"
    "zlib|zlib1g"
    "Liberation Sans|fonts-liberation2")
foreach(part IN LISTS notice_parts)
  string(REPLACE "|" ";" part ${part})
  list(GET part 0 heading)
  list(GET part 1 package)
  file(GLOB copyright /usr/share/doc/${package}/copyright)
  if(NOT copyright)
    message(FATAL_ERROR "No /usr/share/doc/${package}/copyright for ${heading}'s notices")
  endif()
  list(GET copyright 0 copyright)
  file(READ ${copyright} text)
  string(REGEX REPLACE "." "=" underline "${heading}")
  string(APPEND notices "\n\n${heading}\n${underline}\n\n${text}")
endforeach()
# Qt's copyright file names the LGPL version 3 by its place on a Debian system.
file(READ /usr/share/common-licenses/LGPL-3 text)
string(APPEND notices "\n\nGNU Lesser General Public License version 3\n"
                     "===========================================\n\n${text}")
# Written anew only when it changed, so that a new configuration does not
# make the packages again.
file(WRITE ${GLUKARA_NOTICES}.new "${notices}")
file(COPY_FILE ${GLUKARA_NOTICES}.new ${GLUKARA_NOTICES} ONLY_IF_DIFFERENT)
file(REMOVE ${GLUKARA_NOTICES}.new)
