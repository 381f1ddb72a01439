# Cross-building for 64-bit Windows with the mingw-w64 compilers of the posix thread model
# (std::thread and std::mutex need it). The runtime is linked in statically, so the
# executables run on Windows, or under Wine, without any DLL of the compiler's.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VANTREL_MINGW_TRIPLET x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${VANTREL_MINGW_TRIPLET}-gcc-posix ${VANTREL_MINGW_TRIPLET}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${VANTREL_MINGW_TRIPLET}-g++-posix ${VANTREL_MINGW_TRIPLET}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${VANTREL_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VANTREL_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# The static zlib, not the import library of zlib1.dll.
if(EXISTS /usr/${VANTREL_MINGW_TRIPLET}/lib/libz.a)
  set(ZLIB_LIBRARY /usr/${VANTREL_MINGW_TRIPLET}/lib/libz.a CACHE FILEPATH "zlib for the target")
  set(ZLIB_INCLUDE_DIR /usr/${VANTREL_MINGW_TRIPLET}/include CACHE PATH "zlib headers for the target")
endif()
