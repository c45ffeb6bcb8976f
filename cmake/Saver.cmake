# The saver programs: morrowmere_add_windows_saver(TARGET ...) makes a .scr and
# morrowmere_add_linux_saver(TARGET ...) the XScreenSaver hack, both from the objects of
# morrowmere_host, morrowmere_program and morrowmere_mixer; morrowmere_add_trace(TARGET ...) makes
# the replay program of the platform from the same objects with its own host (tools/trace). Test builds differ from the product only through what
# they are given here, never through compile definitions:
#   SOURCES file...   test-only sources linked ahead of the saver's own code; a file that defines
#                     a whole unit of a library (every function of a class) takes its place
#   WRAP symbol...    calls to these (mangled) functions go to __wrap_<symbol> in SOURCES, which
#                     may call the saver's own as __real_<symbol> (the linker's --wrap)
#   OMIT id... / EXTRA script...  resources left out or added (see morrowmere_add_resources)
if(NOT WIN32)
    find_package(X11 REQUIRED)
    find_package(Threads REQUIRED)
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(OPENAL REQUIRED IMPORTED_TARGET openal)
    # sd-bus, for the power source (UPower) on the system bus.
    pkg_check_modules(SYSTEMD REQUIRED IMPORTED_TARGET libsystemd)
endif()

# morrowmere_wayland_protocols(TARGET XML...): each protocol description's client code, generated
# with wayland-scanner into this folder's "generated" and compiled into TARGET, whose sources then
# include its header ("NAME-client-protocol.h" for NAME.xml).
function(morrowmere_wayland_protocols target)
    set(code "${CMAKE_CURRENT_BINARY_DIR}/generated")
    foreach(protocol_xml IN LISTS ARGN)
        get_filename_component(protocol "${protocol_xml}" NAME_WE)
        add_custom_command(OUTPUT "${code}/${protocol}-client-protocol.h" "${code}/${protocol}-protocol.c"
                           COMMAND "${WAYLAND_SCANNER}" client-header "${protocol_xml}"
                                   "${code}/${protocol}-client-protocol.h"
                           COMMAND "${WAYLAND_SCANNER}" private-code "${protocol_xml}" "${code}/${protocol}-protocol.c"
                           DEPENDS "${protocol_xml}")
        target_sources(${target} PRIVATE "${code}/${protocol}-protocol.c" "${code}/${protocol}-client-protocol.h")
    endforeach()
    target_include_directories(${target} PRIVATE "${code}")
endfunction()

function(_morrowmere_add_program target host)
    cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "SOURCES;WRAP;OMIT;EXTRA")
    add_executable(${target} ${arg_SOURCES})
    # Object libraries: every one of their objects goes into the program.
    target_link_libraries(${target} PRIVATE ${host} morrowmere_program morrowmere_mixer)
    foreach(symbol IN LISTS arg_WRAP)
        target_link_options(${target} PRIVATE "LINKER:--wrap=${symbol}")
    endforeach()
    morrowmere_saver_code(${target})
    morrowmere_add_resources(${target} OMIT ${arg_OMIT} EXTRA ${arg_EXTRA})
endfunction()

function(_morrowmere_link_platform target)
    if(WIN32)
        target_link_libraries(${target} PRIVATE morrowmere_graphics morrowmere_sound morrowmere_core morrowmere::glew
                                                glu32 dsound dxguid uuid comctl32 gdi32 user32)
    else()
        target_link_libraries(${target} PRIVATE morrowmere_graphics morrowmere_sound morrowmere_core morrowmere::glew
                                                OpenGL::GLU OpenGL::GLX X11::X11 PkgConfig::OPENAL Threads::Threads)
    endif()
endfunction()

function(morrowmere_add_windows_saver target)
    _morrowmere_add_program(${target} morrowmere_host ${ARGN})
    set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON SUFFIX ".scr")
    _morrowmere_link_platform(${target})
endfunction()

function(morrowmere_add_linux_saver target)
    _morrowmere_add_program(${target} morrowmere_host ${ARGN})
    _morrowmere_link_platform(${target})
endfunction()

# The replay program: a console program on both platforms, writing pictures with libpng.
function(morrowmere_add_trace target)
    _morrowmere_add_program(${target} morrowmere_trace_host ${ARGN})
    _morrowmere_link_platform(${target})
    target_link_libraries(${target} PRIVATE morrowmere::png)
endfunction()
