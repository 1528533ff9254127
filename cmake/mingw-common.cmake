# Shared part of the two mingw-w64 toolchain files; PTR_TRIPLET names the target.
# The posix thread model gives GoogleTest the std::mutex it needs; the modules use no C++ runtime.
set(CMAKE_C_COMPILER ${PTR_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PTR_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${PTR_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${PTR_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
