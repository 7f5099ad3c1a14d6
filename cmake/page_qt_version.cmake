# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The page scales the window and tells Qt that a screen reader listens through
# Qt's private interfaces (the screen's scale factor, the platform's
# accessibility), which behave otherwise from Qt 6.5 on. Built with another Qt
# it would configure and build, and then break in the browser: stop here
# instead. Included by the build with Qt6_VERSION found; the tests run it as a
# script with Qt6_VERSION given.
set(page_qt_version 6.4.2)
if(NOT Qt6_VERSION VERSION_EQUAL page_qt_version)
  message(FATAL_ERROR "The page is written for Qt ${page_qt_version}, and this is Qt ${Qt6_VERSION}. "
                      "Build it with the static Qt ${page_qt_version} for WebAssembly "
                      "(scripts/build-web says how).")
endif()
