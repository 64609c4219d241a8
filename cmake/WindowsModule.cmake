# Builds the deliverable, the 32-bit Windows module TarvelinCam.p, from the
# same sources in a nested cross build, so one native build makes both files.
include(ExternalProject)

find_program(TARVELIN_MINGW_CXX i686-w64-mingw32-g++-win32)
find_program(TARVELIN_MINGW_OBJDUMP i686-w64-mingw32-objdump)
if(NOT TARVELIN_MINGW_CXX OR NOT TARVELIN_MINGW_OBJDUMP)
  message(FATAL_ERROR
    "The Windows module needs Debian's mingw-w64 toolchain: apt-get install g++-mingw-w64-i686 "
    "binutils-mingw-w64-i686 (or configure with -DTARVELIN_CROSS_WINDOWS=OFF).")
endif()

set(TARVELIN_WINDOWS_BINARY_DIR ${CMAKE_BINARY_DIR}/windows)
set(TARVELIN_WINDOWS_MODULE ${TARVELIN_WINDOWS_BINARY_DIR}/TarvelinCam.p)

ExternalProject_Add(windows_module
  SOURCE_DIR ${CMAKE_SOURCE_DIR}
  BINARY_DIR ${TARVELIN_WINDOWS_BINARY_DIR}
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-w64-i686.cmake
    -DCMAKE_BUILD_TYPE=Release
    -DBUILD_TESTING=OFF
    -DTARVELIN_WARNINGS_AS_ERRORS=${TARVELIN_WARNINGS_AS_ERRORS}
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${TARVELIN_WINDOWS_MODULE}
  INSTALL_COMMAND "")
