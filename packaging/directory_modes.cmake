# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Run by CPack before it packs the staging directory. The installation creates
# directories with the builder's umask, which a restrictive umask turns into
# modes Debian does not accept; a package's directories are 0755.
file(GLOB_RECURSE entries LIST_DIRECTORIES true "${CPACK_TEMPORARY_DIRECTORY}/*")
foreach(entry IN LISTS entries)
  if(IS_DIRECTORY "${entry}" AND NOT IS_SYMLINK "${entry}")
    file(CHMOD "${entry}" DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                                                 GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  endif()
endforeach()
