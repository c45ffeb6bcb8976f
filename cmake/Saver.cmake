# The saver programs. morrowmere_add_windows_saver(TARGET [DEFINITIONS...]) makes a .scr and
# morrowmere_add_linux_saver(TARGET [DEFINITIONS...]) the XScreenSaver hack from the saver's
# sources; test builds pass definitions that change a stand-in's behaviour.
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

function(morrowmere_add_windows_saver target)
    set(sources ${MORROWMERE_SAVER_SOURCES} ${MORROWMERE_WINDOWS_SAVER_SOURCES})
    list(TRANSFORM sources PREPEND "${PROJECT_SOURCE_DIR}/")
    add_executable(${target} WIN32 ${sources})
    set_target_properties(${target} PROPERTIES SUFFIX ".scr")
    target_compile_definitions(${target} PRIVATE ${ARGN})
    target_link_libraries(${target} PRIVATE morrowmere_graphics morrowmere_sound morrowmere_core morrowmere::glew glu32 dsound dxguid uuid comctl32 gdi32 user32)
    morrowmere_saver_code(${target})
    morrowmere_add_resources(${target})
endfunction()

function(morrowmere_add_linux_saver target)
    set(sources ${MORROWMERE_SAVER_SOURCES} ${MORROWMERE_LINUX_SAVER_SOURCES})
    list(TRANSFORM sources PREPEND "${PROJECT_SOURCE_DIR}/")
    add_executable(${target} ${sources})
    target_compile_definitions(${target} PRIVATE ${ARGN})
    target_link_libraries(${target} PRIVATE morrowmere_graphics morrowmere_sound morrowmere_core morrowmere::glew OpenGL::GLU OpenGL::GLX X11::X11
                                            PkgConfig::OPENAL Threads::Threads)
    morrowmere_saver_code(${target})
    morrowmere_add_resources(${target})
endfunction()
