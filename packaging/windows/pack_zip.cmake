# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Packs the portable folder into ZIP, the same bytes from the same sources:
# fixed modes whatever the builder's umask, the files in a fixed order, and
# the time of SOURCE_DATE_EPOCH (the commit's, for a release) or else now.
#   cmake -DZIP=... -DDIR=... -DFILES=glukara/a,glukara/b -P pack_zip.cmake
string(REPLACE "," ";" FILES "${FILES}")
foreach(name IN LISTS FILES)
  if(name MATCHES "\\.exe$")
    file(CHMOD ${DIR}/${name} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                                          GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  else()
    file(CHMOD ${DIR}/${name} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  endif()
endforeach()
string(TIMESTAMP mtime "%Y-%m-%d %H:%M:%S UTC" UTC)
list(SORT FILES)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip --mtime=${mtime} ${FILES}
                WORKING_DIRECTORY ${DIR} COMMAND_ERROR_IS_FATAL ANY)
