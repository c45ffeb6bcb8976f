# libpng for both targets, as the target morrowmere::png (the replay program writes its pictures
# with it). Linux: the distribution's libpng-dev. Windows: the distribution's zlib and libpng source
# packages, fetched by tools/deps into .deps/ and compiled here as static libraries.
if(WIN32)
    set(MORROWMERE_ZLIB_SOURCE "${PROJECT_SOURCE_DIR}/.deps/zlib" CACHE PATH
        "Unpacked zlib source package (tools/deps fetches it)")
    set(MORROWMERE_PNG_SOURCE "${PROJECT_SOURCE_DIR}/.deps/libpng" CACHE PATH
        "Unpacked libpng source package (tools/deps fetches it)")
    if(NOT EXISTS "${MORROWMERE_ZLIB_SOURCE}/deflate.c" OR NOT EXISTS "${MORROWMERE_PNG_SOURCE}/pngwrite.c")
        message(FATAL_ERROR "zlib or libpng source not found under .deps: run tools/deps first")
    endif()
    set(zlib_files adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast inflate inftrees
                   trees uncompr zutil)
    list(TRANSFORM zlib_files PREPEND "${MORROWMERE_ZLIB_SOURCE}/")
    list(TRANSFORM zlib_files APPEND ".c")
    add_library(zlib_static STATIC ${zlib_files})
    target_include_directories(zlib_static SYSTEM PUBLIC "${MORROWMERE_ZLIB_SOURCE}")

    set(png_files png pngerror pngget pngmem pngpread pngread pngrio pngrtran pngrutil pngset pngtrans pngwio
                  pngwrite pngwtran pngwutil)
    list(TRANSFORM png_files PREPEND "${MORROWMERE_PNG_SOURCE}/")
    list(TRANSFORM png_files APPEND ".c")
    # The library's own default configuration, as its build would write it.
    configure_file("${MORROWMERE_PNG_SOURCE}/scripts/pnglibconf.h.prebuilt"
                   "${CMAKE_BINARY_DIR}/libpng/pnglibconf.h" COPYONLY)
    add_library(png_static STATIC ${png_files})
    target_include_directories(png_static SYSTEM PUBLIC "${MORROWMERE_PNG_SOURCE}" "${CMAKE_BINARY_DIR}/libpng")
    target_link_libraries(png_static PUBLIC zlib_static)
    add_library(morrowmere::png ALIAS png_static)
else()
    find_package(PNG REQUIRED)
    add_library(morrowmere::png ALIAS PNG::PNG)
endif()
