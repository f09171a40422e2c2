# Build steps that make the setup program's resources: the glyph sheets, the
# licence texts, the icons, the manifest, the sample product and the packed payload store.
set(TOOLS_DIR ${CMAKE_SOURCE_DIR}/tools)

# The glyph sheets, packed from Unifont.
set(GLYPH_SHEETS ${GENERATED_DIR}/glyph_sheets.bin)
add_custom_command(OUTPUT ${GLYPH_SHEETS}
    COMMAND ${Python3_EXECUTABLE} ${TOOLS_DIR}/pack_glyphs.py ${LUMABOOK_UNIFONT_HEX} ${GLYPH_SHEETS}
    DEPENDS ${TOOLS_DIR}/pack_glyphs.py ${LUMABOOK_UNIFONT_HEX}
    COMMENT "Packing the glyph sheets from Unifont")

# The licence texts: GB2312 with CR LF for the list box, ASCII for the edit box.
set(LICENCE_CN ${GENERATED_DIR}/licence/agreement_cn.txt)
set(LICENCE_EN ${GENERATED_DIR}/licence/agreement_en.txt)
add_custom_command(OUTPUT ${LICENCE_CN} ${LICENCE_EN}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${GENERATED_DIR}/licence
    COMMAND ${Python3_EXECUTABLE} ${TOOLS_DIR}/convert_licence.py --encoding gb2312 --max-line-bytes 56 --max-lines 500
            ${CMAKE_SOURCE_DIR}/resources/licence_cn.txt ${LICENCE_CN}
    COMMAND ${Python3_EXECUTABLE} ${TOOLS_DIR}/convert_licence.py --encoding ascii
            ${CMAKE_SOURCE_DIR}/resources/licence_en.txt ${LICENCE_EN}
    DEPENDS ${TOOLS_DIR}/convert_licence.py ${CMAKE_SOURCE_DIR}/resources/licence_cn.txt
            ${CMAKE_SOURCE_DIR}/resources/licence_en.txt
    COMMENT "Converting the licence texts")

# The icons: 127 the window icon, 105 the picture of the wizard's left panel.
set(ICON_DIR ${GENERATED_DIR}/icons)
set(ICON_FILES ${ICON_DIR}/window.ico ${ICON_DIR}/panel.ico)
add_custom_command(OUTPUT ${ICON_FILES}
    COMMAND ${Python3_EXECUTABLE} ${TOOLS_DIR}/make_icons.py ${ICON_DIR}
    DEPENDS ${TOOLS_DIR}/make_icons.py ${TOOLS_DIR}/sample_formats.py
    COMMENT "Drawing the icons")
add_custom_target(icons DEPENDS ${ICON_FILES})

# The application manifest, with the program's version and processor: a
# configured copy of the source, so the same commit gives the same bytes.
file(STRINGS ${CMAKE_SOURCE_DIR}/resources/setup_version.h version_lines
     REGEX "^#define SETUP_VERSION_(MAJOR|MINOR|PATCH) ")
foreach(part IN ITEMS MAJOR MINOR PATCH)
    string(REGEX MATCH "SETUP_VERSION_${part} ([0-9]+)" found "${version_lines}")
    if(NOT found)
        message(FATAL_ERROR "resources/setup_version.h defines no SETUP_VERSION_${part}")
    endif()
    set(version_${part} ${CMAKE_MATCH_1})
endforeach()
set(MANIFEST_VERSION ${version_MAJOR}.${version_MINOR}.${version_PATCH}.0)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(MANIFEST_PROCESSOR x86)
else()
    set(MANIFEST_PROCESSOR amd64)
endif()
set(SETUP_MANIFEST ${GENERATED_DIR}/setup.manifest)
configure_file(${CMAKE_SOURCE_DIR}/resources/setup.manifest.in ${SETUP_MANIFEST} @ONLY NEWLINE_STYLE UNIX)

# The product folder: the generated sample product unless a real one is named.
if(LUMABOOK_PRODUCT_DIR)
    set(PRODUCT_DIR ${LUMABOOK_PRODUCT_DIR})
    execute_process(COMMAND ${Python3_EXECUTABLE} ${TOOLS_DIR}/pack_payload.py --check-only --product ${PRODUCT_DIR}
                    RESULT_VARIABLE product_refused)
    if(product_refused)
        message(FATAL_ERROR "The product folder ${PRODUCT_DIR} cannot be packed (see above)")
    endif()
    execute_process(COMMAND ${Python3_EXECUTABLE} ${TOOLS_DIR}/file_table.py OUTPUT_VARIABLE table_rows
                    RESULT_VARIABLE table_refused)
    if(table_refused)
        message(FATAL_ERROR "The install file table cannot be read (see above)")
    endif()
    string(REGEX MATCHALL "[^\n]+" table_rows "${table_rows}")
    set(PRODUCT_FILES)
    foreach(row IN LISTS table_rows)
        string(REGEX REPLACE "^[0-9]+ " "" name "${row}")
        list(APPEND PRODUCT_FILES ${PRODUCT_DIR}/${name})
    endforeach()
else()
    # Four small real programs stand in for the product's own executables.
    set(SAMPLE_PROGRAMS)
    foreach(program IN ITEMS "109:Lumabook Writer" "171:Lumabook UnInstall" "139:Keyboard Trainer" "253:Keypad Demo")
        string(REPLACE ":" ";" parts "${program}")
        list(GET parts 0 entry)
        list(GET parts 1 title)
        add_executable(sample_program_${entry} WIN32 ${TOOLS_DIR}/sample_program/sample_program.cpp)
        target_compile_definitions(sample_program_${entry} PRIVATE "SAMPLE_PROGRAM_TITLE=\"${title}\"")
        target_compile_options(sample_program_${entry} PRIVATE -Wall -Os ${REPRODUCIBLE_COMPILE_OPTIONS})
        target_link_options(sample_program_${entry} PRIVATE ${STATIC_LINK_OPTIONS} -s)
        list(APPEND SAMPLE_PROGRAMS --program ${entry}=$<TARGET_FILE:sample_program_${entry}>)
        list(APPEND SAMPLE_PROGRAM_TARGETS sample_program_${entry})
    endforeach()

    set(PRODUCT_DIR ${CMAKE_BINARY_DIR}/sample_product)
    set(PRODUCT_FILES ${CMAKE_BINARY_DIR}/sample_product.stamp)
    add_custom_command(OUTPUT ${PRODUCT_FILES}
        COMMAND ${Python3_EXECUTABLE} ${TOOLS_DIR}/make_sample_product.py --out ${PRODUCT_DIR}
                --glyphs ${GLYPH_SHEETS} --licence-cn ${LICENCE_CN} --licence-en ${LICENCE_EN} ${SAMPLE_PROGRAMS}
        COMMAND ${CMAKE_COMMAND} -E touch ${PRODUCT_FILES}
        DEPENDS ${TOOLS_DIR}/make_sample_product.py ${TOOLS_DIR}/sample_formats.py ${TOOLS_DIR}/file_table.py ${CMAKE_SOURCE_DIR}/install/file_table.cpp
                ${GLYPH_SHEETS} ${LICENCE_CN} ${LICENCE_EN} ${SAMPLE_PROGRAM_TARGETS}
        COMMENT "Generating the sample product")
endif()

# The payload store: one zlib stream per file table row, listed in payload.rc.
set(PAYLOAD_STAMP ${CMAKE_BINARY_DIR}/payload.stamp)
add_custom_command(OUTPUT ${PAYLOAD_STAMP}
    COMMAND ${Python3_EXECUTABLE} ${TOOLS_DIR}/pack_payload.py --product ${PRODUCT_DIR}
            --out ${GENERATED_DIR}/payload --rc ${GENERATED_DIR}/payload.rc
    COMMAND ${CMAKE_COMMAND} -E touch ${PAYLOAD_STAMP}
    DEPENDS ${TOOLS_DIR}/pack_payload.py ${TOOLS_DIR}/file_table.py ${CMAKE_SOURCE_DIR}/install/file_table.cpp
            ${PRODUCT_FILES}
    COMMENT "Packing the payload store")
add_custom_target(payload DEPENDS ${PAYLOAD_STAMP})
