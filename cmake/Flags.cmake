# Compile settings shared by every target of ours (not by third-party code).
option(MORROWMERE_WERROR "Treat compiler warnings as errors" OFF)
option(MORROWMERE_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(MORROWMERE_FUZZ "Build only the fuzz targets (needs clang)" OFF)
option(MORROWMERE_PACKAGE_ONLY "Build only what the Linux package installs (debian/rules)" OFF)

if(MORROWMERE_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

if(MORROWMERE_FUZZ)
    # Coverage feedback from all of our code, not just the fuzz targets.
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# The hardening the distribution builds its own programs with: checked string and memory calls
# where the optimiser sees the sizes, and relocations read-only before the program starts.
if(NOT WIN32 AND NOT MORROWMERE_SANITIZE)
    add_compile_definitions($<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
    add_link_options(LINKER:-z,relro LINKER:-z,now)
endif()

# Warnings for code we write.
function(morrowmere_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra)
    if(MORROWMERE_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

# The saver's own code: warnings, and no exceptions anywhere in it.
function(morrowmere_saver_code target)
    morrowmere_warnings(${target})
    target_compile_options(${target} PRIVATE -fno-exceptions)
endfunction()
