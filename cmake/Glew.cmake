# GLEW for both targets, as the target morrowmere::glew.
# Linux: the distribution's libglew-dev. Windows: the distribution's GLEW source package, fetched by
# tools/deps into .deps/glew and compiled here as a static library.
if(WIN32)
    set(MORROWMERE_GLEW_SOURCE "${PROJECT_SOURCE_DIR}/.deps/glew" CACHE PATH
        "Unpacked GLEW source package (tools/deps fetches it)")
    if(NOT EXISTS "${MORROWMERE_GLEW_SOURCE}/src/glew.c")
        message(FATAL_ERROR "GLEW source not found in ${MORROWMERE_GLEW_SOURCE}: run tools/deps first")
    endif()
    add_library(glew_static STATIC "${MORROWMERE_GLEW_SOURCE}/src/glew.c")
    target_include_directories(glew_static SYSTEM PUBLIC "${MORROWMERE_GLEW_SOURCE}/include")
    target_compile_definitions(glew_static PUBLIC GLEW_STATIC PRIVATE GLEW_NO_GLU)
    target_link_libraries(glew_static PUBLIC opengl32)
    add_library(morrowmere::glew ALIAS glew_static)
else()
    find_package(GLEW REQUIRED)
    find_package(OpenGL REQUIRED)
    add_library(morrowmere_glew INTERFACE)
    target_link_libraries(morrowmere_glew INTERFACE GLEW::GLEW OpenGL::GL)
    add_library(morrowmere::glew ALIAS morrowmere_glew)
endif()
