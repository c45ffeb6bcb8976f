# The saver programs: morrowmere_add_windows_saver(TARGET ...) makes a .scr and
# morrowmere_add_linux_saver(TARGET ...) the XScreenSaver hack. Test builds may pass
#   DEFINITIONS def...  compile definitions that change a stand-in's behaviour,
#   OMIT id... / EXTRA script...  resources left out or added (see morrowmere_add_resources).
# Builds without definitions share one compiled copy of the common sources.
set(MORROWMERE_SAVER_SOURCES
    gfx/VideoInit.cpp
    host/FrameRateOverlay.cpp
    host/ProcessGlobals.cpp
    host/RenderThread.cpp
    scene/Creature.cpp
    scene/Scene.cpp)
set(MORROWMERE_WINDOWS_SAVER_SOURCES
    gfx/GlContextWgl.cpp
    host/HostWin32.cpp
    host/SaverPlatformWin32.cpp
    host/SaverWindowHookWin32.cpp
    host/SettingsDialogWin32.cpp
    sound/SoundManagerDirectSound.cpp)
set(MORROWMERE_LINUX_SAVER_SOURCES
    gfx/GlContextGlx.cpp
    host/HostX11.cpp
    host/SaverPlatformPosix.cpp
    sound/SoundManagerOpenAL.cpp)

if(NOT WIN32)
    find_package(X11 REQUIRED)
    find_package(Threads REQUIRED)
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(OPENAL REQUIRED IMPORTED_TARGET openal)
endif()

# The sources of the program for this platform, compiled once for every build without definitions.
if(WIN32)
    set(_platform_sources ${MORROWMERE_WINDOWS_SAVER_SOURCES})
else()
    set(_platform_sources ${MORROWMERE_LINUX_SAVER_SOURCES})
endif()
set(MORROWMERE_PROGRAM_SOURCES ${MORROWMERE_SAVER_SOURCES} ${_platform_sources})
list(TRANSFORM MORROWMERE_PROGRAM_SOURCES PREPEND "${PROJECT_SOURCE_DIR}/")

function(_morrowmere_add_saver target)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "DEFINITIONS;OMIT;EXTRA")
    if(arg_DEFINITIONS)
        add_executable(${target} ${MORROWMERE_PROGRAM_SOURCES})
        target_compile_definitions(${target} PRIVATE ${arg_DEFINITIONS})
    else()
        if(NOT TARGET morrowmere_program_objects)
            add_library(morrowmere_program_objects OBJECT ${MORROWMERE_PROGRAM_SOURCES})
            target_link_libraries(morrowmere_program_objects PRIVATE morrowmere_graphics morrowmere_sound)
            if(NOT WIN32)
                target_link_libraries(morrowmere_program_objects PRIVATE X11::X11 PkgConfig::OPENAL)
            endif()
            morrowmere_saver_code(morrowmere_program_objects)
        endif()
        add_executable(${target} $<TARGET_OBJECTS:morrowmere_program_objects>)
    endif()
    morrowmere_saver_code(${target})
    morrowmere_add_resources(${target} OMIT ${arg_OMIT} EXTRA ${arg_EXTRA})
endfunction()

function(morrowmere_add_windows_saver target)
    _morrowmere_add_saver(${target} ${ARGN})
    set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON SUFFIX ".scr")
    target_link_libraries(${target} PRIVATE morrowmere_graphics morrowmere_sound morrowmere_core morrowmere::glew glu32
                                            dsound dxguid uuid comctl32 gdi32 user32)
endfunction()

function(morrowmere_add_linux_saver target)
    _morrowmere_add_saver(${target} ${ARGN})
    target_link_libraries(${target} PRIVATE morrowmere_graphics morrowmere_sound morrowmere_core morrowmere::glew
                                            OpenGL::GLU OpenGL::GLX X11::X11 PkgConfig::OPENAL Threads::Threads)
endfunction()
