# Install paths the GNU way (bin, share, share/man, ...) under
# CMAKE_INSTALL_PREFIX, and man pages installed gzip-compressed, as Debian
# and most other systems keep them. Included before the subsystem folders,
# which install their own programs and pages.
include(GNUInstallDirs)

if(UNIX)
    find_program(VKR_GZIP gzip)
    if(NOT VKR_GZIP)
        message(FATAL_ERROR "gzip not found: it compresses the man pages and the changelog")
    endif()
endif()

# Compresses `source` into <build folder>/compressed/<its name>.gz at build
# time (without name or time stamp, so that the result depends on the
# content alone) and sets `output` to that path.
function(vkr_gzip_file source output)
    get_filename_component(name ${source} NAME)
    get_filename_component(source ${source} ABSOLUTE)
    set(copy ${PROJECT_BINARY_DIR}/compressed/${name})
    add_custom_command(OUTPUT ${copy}.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${source} ${copy}
        COMMAND ${VKR_GZIP} -9nf ${copy}
        DEPENDS ${source}
        VERBATIM)
    add_custom_target(vkr_gzip_${name} ALL DEPENDS ${copy}.gz)
    set(${output} ${copy}.gz PARENT_SCOPE)
endfunction()

# Installs a man page (its section taken from the name: vkrtool.1 goes to
# man1). Not on Windows, which has no man pages.
function(vkr_install_man_page page)
    if(NOT UNIX)
        return()
    endif()
    string(REGEX MATCH "[1-9]$" section ${page})
    vkr_gzip_file(${page} compressed)
    install(FILES ${compressed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
endfunction()
