set(CMAKE_C_COMPILER   ${ANNUVIA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ANNUVIA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${ANNUVIA_MINGW_TRIPLE}-windres)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-root.cmake)
# Everything static: the program needs only the DLLs that ship with Windows.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
