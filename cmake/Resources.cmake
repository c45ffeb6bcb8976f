# Puts the saver's data into an executable: morrowmere_add_resources(TARGET)
# Windows: resources/morrowmere.rc, compiled by windres. Linux: a table generated from the lines of
# that same script ("<id> BITMAP|Shaders|SoundSamples "<file>""), the files pulled in by the
# assembler; bitmap files lose their 14-byte file header, as windres strips it.
#
# A Shaders file written as <file>.glsl beside the script is built into its resource form (CRLF
# line ends, one trailing NUL) at <build>/resources/<file> by tools/shader-resource, for both
# platforms; any other file is embedded as it is.
#
set(MORROWMERE_RESOURCE_SCRIPT "${PROJECT_SOURCE_DIR}/resources/morrowmere.rc")

if(WIN32)
    enable_language(RC)
endif()

# The resource lines of a script, as "<id>;<type>;<file as written>" entries.
function(morrowmere_resource_lines script out)
    set_property(DIRECTORY "${PROJECT_SOURCE_DIR}" APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${script}")
    file(STRINGS "${script}" lines REGEX "^[0-9]+[ \t]+(BITMAP|Shaders|SoundSamples)[ \t]+\"")
    set(entries "")
    foreach(line IN LISTS lines)
        string(REGEX MATCH "^([0-9]+)[ \t]+([A-Za-z]+)[ \t]+\"([^\"]+)\"" _ "${line}")
        list(APPEND entries "${CMAKE_MATCH_1}|${CMAKE_MATCH_2}|${CMAKE_MATCH_3}")
    endforeach()
    set(${out} "${entries}" PARENT_SCOPE)
endfunction()

# Where the bytes of a resource file come from; a shader source also gets its build rule (once).
function(morrowmere_resource_file script type name out)
    get_filename_component(folder "${script}" DIRECTORY)
    set(file "${folder}/${name}")
    if(type STREQUAL "Shaders" AND EXISTS "${file}.glsl")
        file(RELATIVE_PATH relative "${PROJECT_SOURCE_DIR}" "${file}")
        set(output "${CMAKE_BINARY_DIR}/shaders/${relative}")
        get_property(known GLOBAL PROPERTY MORROWMERE_SHADER_OUTPUTS)
        if(NOT output IN_LIST known)
            add_custom_command(OUTPUT "${output}"
                               COMMAND "${PROJECT_SOURCE_DIR}/tools/shader-resource" "${file}.glsl" "${output}"
                               DEPENDS "${file}.glsl" "${PROJECT_SOURCE_DIR}/tools/shader-resource"
                               COMMENT "Shader resource ${relative}" VERBATIM)
            set_property(GLOBAL APPEND PROPERTY MORROWMERE_SHADER_OUTPUTS "${output}")
        endif()
        set(file "${output}")
    endif()
    set(${out} "${file}" PARENT_SCOPE)
endfunction()

# The saver's own shader texts, built in the top directory so that every target can depend on them.
morrowmere_resource_lines("${MORROWMERE_RESOURCE_SCRIPT}" _entries)
set(MORROWMERE_SHADER_FILES "")
foreach(_entry IN LISTS _entries)
    string(REPLACE "|" ";" _fields "${_entry}")
    list(GET _fields 1 _type)
    list(GET _fields 2 _name)
    if(_type STREQUAL "Shaders")
        morrowmere_resource_file("${MORROWMERE_RESOURCE_SCRIPT}" Shaders "${_name}" _file)
        list(APPEND MORROWMERE_SHADER_FILES "${_file}")
    endif()
endforeach()
add_custom_target(morrowmere_shaders DEPENDS ${MORROWMERE_SHADER_FILES})

# Linux: an object library holding the given scripts' resources, without those whose ids follow
# OMIT, as one block in the read-only data: a 16-byte marker, the count and three zero words, one
# 16-byte entry per resource (kind, id, offset from the block's start, size; 32-bit little-endian),
# then the bytes. Offsets instead of pointers keep the block free of relocations, so that tests can
# damage a resource in a copy of the built program by patching bytes in place.
#   morrowmere_embedded_table(LIBRARY SCRIPTS script... [OMIT id...])
function(morrowmere_embedded_table library)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SCRIPTS;OMIT")
    set(entries_asm "")
    set(data_asm "")
    set(files "")
    set(index 0)
    foreach(script IN LISTS arg_SCRIPTS)
        morrowmere_resource_lines("${script}" entries)
        foreach(entry IN LISTS entries)
            string(REPLACE "|" ";" fields "${entry}")
            list(GET fields 0 id)
            list(GET fields 1 type)
            list(GET fields 2 name)
            if(id IN_LIST arg_OMIT AND script STREQUAL MORROWMERE_RESOURCE_SCRIPT)
                continue()
            endif()
            morrowmere_resource_file("${script}" "${type}" "${name}" file)
            list(APPEND files "${file}")
            # The kinds in the order of ResourceType.
            set(skip "")
            if(type STREQUAL "BITMAP")
                set(kind 0)
                set(skip ", 14")
            elseif(type STREQUAL "Shaders")
                set(kind 1)
            else()
                set(kind 2)
            endif()
            set(symbol "morrowmere_resource_${index}")
            string(APPEND entries_asm "    \".long ${kind}, ${id}, ${symbol} - morrowmere_resource_block, "
                                      "${symbol}_end - ${symbol}\\n\"\n")
            string(APPEND data_asm "    \".balign 16\\n\"\n    \"${symbol}:\\n\"\n"
                                   "    \".incbin \\\"${file}\\\"${skip}\\n\"\n    \"${symbol}_end:\\n\"\n")
            math(EXPR index "${index} + 1")
        endforeach()
    endforeach()
    set(source "${CMAKE_BINARY_DIR}/generated/${library}.cpp")
    file(CONFIGURE OUTPUT "${source}" CONTENT
"// Generated by cmake/Resources.cmake from the resource scripts; do not edit.
asm(\".section .rodata\\n\"
    \".balign 16\\n\"
    \".globl morrowmere_resource_block, morrowmere_resource_block_end\\n\"
    \".hidden morrowmere_resource_block, morrowmere_resource_block_end\\n\"
    \"morrowmere_resource_block:\\n\"
    \".byte 0x7f, 0x4d, 0x6f, 0x72, 0x72, 0x6f, 0x77, 0x52, 0x65, 0x73, 0x6f, 0x75, 0x72, 0x63, 0x65, 0x73\\n\"
    \".long ${index}, 0, 0, 0\\n\"
${entries_asm}${data_asm}    \"morrowmere_resource_block_end:\\n\"
    \".previous\\n\");
" @ONLY)
    add_library(${library} OBJECT "${source}")
    set_source_files_properties("${source}" TARGET_DIRECTORY ${library} PROPERTIES OBJECT_DEPENDS "${files}")
    add_custom_target(${library}_files DEPENDS ${files})
    add_dependencies(${library} ${library}_files morrowmere_shaders)
endfunction()

if(NOT WIN32)
    morrowmere_embedded_table(morrowmere_embedded SCRIPTS "${MORROWMERE_RESOURCE_SCRIPT}")
endif()

# morrowmere_add_resources(TARGET [OMIT id...] [EXTRA script...]): the saver's resources, for test
# builds without some of them (OMIT) or with more from other scripts (EXTRA; an omitted id may come
# back from there in another form).
function(morrowmere_add_resources target)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "OMIT;EXTRA")
    if(WIN32)
        set(script "${MORROWMERE_RESOURCE_SCRIPT}")
        set(generated "")
        set(folders "${PROJECT_SOURCE_DIR}/resources" "${CMAKE_BINARY_DIR}/shaders/resources")
        if(arg_OMIT OR arg_EXTRA)
            file(READ "${MORROWMERE_RESOURCE_SCRIPT}" text)
            foreach(id IN LISTS arg_OMIT)
                string(REGEX REPLACE "\n${id}[ \t]+(BITMAP|Shaders|SoundSamples)[ \t]+\"[^\"]*\"" "\n" text "${text}")
            endforeach()
            foreach(extra IN LISTS arg_EXTRA)
                string(APPEND text "\n#include \"${extra}\"\n")
                get_filename_component(folder "${extra}" DIRECTORY)
                file(RELATIVE_PATH relative "${PROJECT_SOURCE_DIR}" "${folder}")
                list(APPEND folders "${folder}" "${CMAKE_BINARY_DIR}/shaders/${relative}")
                # Its shader texts get their resource form like the saver's own.
                morrowmere_resource_lines("${extra}" entries)
                foreach(entry IN LISTS entries)
                    string(REPLACE "|" ";" fields "${entry}")
                    list(GET fields 1 type)
                    list(GET fields 2 name)
                    morrowmere_resource_file("${extra}" "${type}" "${name}" file)
                    list(APPEND generated "${file}")
                endforeach()
            endforeach()
            if(generated)
                add_custom_target(${target}_resource_files DEPENDS ${generated})
                add_dependencies(${target} ${target}_resource_files)
            endif()
            set(script "${CMAKE_CURRENT_BINARY_DIR}/${target}-resources.rc")
            file(WRITE "${script}" "${text}")
        endif()
        target_sources(${target} PRIVATE "${script}")
        # windres looks for the files named in the script on its include path.
        target_include_directories(${target} PRIVATE ${folders})
        set_source_files_properties("${script}" TARGET_DIRECTORY ${target}
                                    PROPERTIES OBJECT_DEPENDS "${MORROWMERE_SHADER_FILES};${generated}")
        add_dependencies(${target} morrowmere_shaders)
    elseif(arg_OMIT OR arg_EXTRA)
        string(MAKE_C_IDENTIFIER "${target}_embedded" library)
        morrowmere_embedded_table(${library} SCRIPTS "${MORROWMERE_RESOURCE_SCRIPT}" ${arg_EXTRA} OMIT ${arg_OMIT})
        target_sources(${target} PRIVATE $<TARGET_OBJECTS:${library}>)
    else()
        target_sources(${target} PRIVATE $<TARGET_OBJECTS:morrowmere_embedded>)
    endif()
endfunction()
