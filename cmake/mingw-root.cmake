# Headers, libraries and packages come from Debian's mingw-w64 root of the
# target; programs from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${ANNUVIA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
