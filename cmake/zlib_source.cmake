# zlib for the setup program and its tests: the inflate side of Debian's zlib
# source package (tools/fetch_zlib_source.sh), built here with the target's own
# flags. The prebuilt MinGW zlib is Pentium Pro code (cmov), which a 486,
# Pentium or K6 cannot run; built from source it gets the i686 toolchain's
# -march=i486, and the x86_64 twin measures the same source.
set(LUMABOOK_ZLIB_CACHE "${CMAKE_SOURCE_DIR}/build/zlib-source" CACHE PATH
    "Folder the zlib source package is downloaded to and unpacked in, shared by both builds")
execute_process(COMMAND ${CMAKE_SOURCE_DIR}/tools/fetch_zlib_source.sh ${LUMABOOK_ZLIB_CACHE}
    OUTPUT_VARIABLE ZLIB_SOURCE_DIR OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE zlib_fetch_failed)
if(zlib_fetch_failed OR NOT EXISTS ${ZLIB_SOURCE_DIR}/zlib.h)
    message(FATAL_ERROR "The zlib source package could not be fetched into ${LUMABOOK_ZLIB_CACHE} (see above)")
endif()

# Only what uncompress needs: the program never compresses.
add_library(zlib_inflate STATIC
    ${ZLIB_SOURCE_DIR}/adler32.c
    ${ZLIB_SOURCE_DIR}/crc32.c
    ${ZLIB_SOURCE_DIR}/inffast.c
    ${ZLIB_SOURCE_DIR}/inflate.c
    ${ZLIB_SOURCE_DIR}/inftrees.c
    ${ZLIB_SOURCE_DIR}/uncompr.c
    ${ZLIB_SOURCE_DIR}/zutil.c)
target_include_directories(zlib_inflate PUBLIC ${ZLIB_SOURCE_DIR})
# -O2 as zlib's own build uses, over the size-optimised build type: inflate is
# the install's inner loop. The cache folder's path stays out of the objects.
target_compile_options(zlib_inflate PRIVATE -O2 -ffile-prefix-map=${ZLIB_SOURCE_DIR}/=zlib/)

# The compressing side, for the tests' pictures (PNG).
add_library(zlib_deflate STATIC ${ZLIB_SOURCE_DIR}/compress.c ${ZLIB_SOURCE_DIR}/deflate.c ${ZLIB_SOURCE_DIR}/trees.c)
target_link_libraries(zlib_deflate PUBLIC zlib_inflate)
target_compile_options(zlib_deflate PRIVATE -O2 -ffile-prefix-map=${ZLIB_SOURCE_DIR}/=zlib/)
