# Cross build for 64-bit Windows with Debian's clang 14: the mingw-w64 headers and
# libraries, GCC's libstdc++ of the posix thread model (g++-mingw-w64-x86-64-posix)
# and lld 14. The same program as with mingw-w64's GCC, from another compiler.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ANNUVIA_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER clang-14)
set(CMAKE_CXX_COMPILER clang++-14)
set(CMAKE_C_COMPILER_TARGET ${ANNUVIA_MINGW_TRIPLE})
set(CMAKE_CXX_COMPILER_TARGET ${ANNUVIA_MINGW_TRIPLE})
set(CMAKE_RC_COMPILER ${ANNUVIA_MINGW_TRIPLE}-windres)
set(CMAKE_SYSROOT /usr/${ANNUVIA_MINGW_TRIPLE})
include(${CMAKE_CURRENT_LIST_DIR}/mingw-root.cmake)

# clang does not find GCC's libstdc++ in Debian's folder for it (12-posix): name it.
file(GLOB gcc_dirs LIST_DIRECTORIES true /usr/lib/gcc/${ANNUVIA_MINGW_TRIPLE}/*-posix)
list(SORT gcc_dirs COMPARE NATURAL ORDER DESCENDING)
list(GET gcc_dirs 0 gcc_dir)
if(NOT EXISTS "${gcc_dir}/include/c++")
  message(FATAL_ERROR "no libstdc++ of g++-mingw-w64-x86-64-posix in /usr/lib/gcc/${ANNUVIA_MINGW_TRIPLE}")
endif()
set(CMAKE_CXX_FLAGS_INIT "-nostdinc++ -isystem ${gcc_dir}/include/c++ \
-isystem ${gcc_dir}/include/c++/${ANNUVIA_MINGW_TRIPLE} -isystem ${gcc_dir}/include/c++/backward")
# Everything static, as with GCC; libstdc++ of the posix model needs winpthreads.
# The C++ flags above reach the link too, where clang would warn of -nostdinc++.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-Wno-unused-command-line-argument -fuse-ld=lld -L${gcc_dir} -static -static-libgcc -static-libstdc++ -lpthread")
unset(gcc_dirs)
unset(gcc_dir)
