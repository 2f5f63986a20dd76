# The build folder is a complete installation: Data/ beside the program.
file(GLOB_RECURSE QEL_DATA_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/*.txt)
# The map sources go into the maps only.
list(FILTER QEL_DATA_SOURCES EXCLUDE REGEX "/data/maps/")
find_program(MOD2IMP mod2imp REQUIRED)

set(QEL_KJV_IMP ${CMAKE_BINARY_DIR}/kjv.imp)
set(QEL_CONTENT_DB ${CMAKE_BINARY_DIR}/Data/DB/Bible.m14)

add_custom_command(
    OUTPUT ${QEL_KJV_IMP}
    # Shell redirection: this command is deliberately not VERBATIM.
    COMMAND ${MOD2IMP} engKJV2006eb > kjv.imp.part
    COMMAND ${CMAKE_COMMAND} -E rename kjv.imp.part kjv.imp
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    COMMENT "Exporting the KJV module")

# Word-search indexes of the versions that have text (0 VRA, 1 VRB, 2 VRC, 3 VRE, 4 KJV).
set(QEL_WORD_INDEXES)
foreach(index 0 1 2 3 4)
    list(APPEND QEL_WORD_INDEXES ${CMAKE_BINARY_DIR}/Data/M14/${index}.m14)
endforeach()

# Verse-search index of VRA, with the homonyms of Debian's libhangul-data hanja table.
set(QEL_VERSE_INDEX ${CMAKE_BINARY_DIR}/Data/DBF/VRA.idx)

add_custom_command(
    OUTPUT ${QEL_CONTENT_DB} ${QEL_WORD_INDEXES} ${QEL_VERSE_INDEX}
    COMMAND qel-mkdb --data ${CMAKE_SOURCE_DIR}/data --kjv ${QEL_KJV_IMP}
            --out ${CMAKE_BINARY_DIR}/Data
    DEPENDS qel-mkdb ${QEL_KJV_IMP} ${QEL_DATA_SOURCES}
    COMMENT "Building the content database")

add_custom_target(content ALL DEPENDS ${QEL_CONTENT_DB})

# The map bitmaps, drawn from Debian's GSHHG coastlines, lakes and rivers through GMT.
find_program(GMT gmt REQUIRED)
file(GLOB QEL_MAP_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/maps/*.txt)
set(QEL_MAP_FILES)
foreach(map 1 2 3 4)
    foreach(kind b s i)
        list(APPEND QEL_MAP_FILES ${CMAKE_BINARY_DIR}/Data/MAP/M0${map}${kind}.bmp)
    endforeach()
endforeach()
add_custom_command(
    OUTPUT ${QEL_MAP_FILES}
    COMMAND qel-mkdb --maps --data ${CMAKE_SOURCE_DIR}/data --out ${CMAKE_BINARY_DIR}/Data
    DEPENDS qel-mkdb ${QEL_MAP_SOURCES}
    COMMENT "Drawing the maps")
add_custom_target(maps ALL DEPENDS ${QEL_MAP_FILES})
