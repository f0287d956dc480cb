# Cross-builds for 64-bit Windows with Debian's MinGW-w64 compilers, in
# their POSIX-thread variants (scripts/windows-toolchain.sh), against the
# Qt and the libraries built for Windows into folders of their own
# (scripts/windows-qt.sh, scripts/windows-libs.sh), named in
# CMAKE_PREFIX_PATH. scripts/windows-build.sh passes it all:
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
#         -DCMAKE_PREFIX_PATH="<Qt folder>;<libraries folder>"
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(vkr_mingw_target x86_64-w64-mingw32)
execute_process(COMMAND ${CMAKE_CURRENT_LIST_DIR}/../scripts/windows-toolchain.sh
                OUTPUT_VARIABLE vkr_mingw_tools OUTPUT_STRIP_TRAILING_WHITESPACE
                RESULT_VARIABLE vkr_mingw_result)
if(NOT vkr_mingw_result EQUAL 0 OR NOT EXISTS ${vkr_mingw_tools}/${vkr_mingw_target}-g++)
    message(FATAL_ERROR "no MinGW-w64 compilers: run scripts/setup.sh --windows")
endif()
set(CMAKE_C_COMPILER ${vkr_mingw_tools}/${vkr_mingw_target}-gcc)
set(CMAKE_CXX_COMPILER ${vkr_mingw_tools}/${vkr_mingw_target}-g++)
set(CMAKE_RC_COMPILER ${vkr_mingw_tools}/${vkr_mingw_target}-windres)

# Headers, libraries and CMake packages come only from the Windows folders
# (never the build machine's own, whose headers would not compile for
# Windows); programs run during the build (moc, uic, rcc) are the build
# machine's: Qt's cross build made them for it.
set(CMAKE_FIND_ROOT_PATH /usr/${vkr_mingw_target} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
