# Cross-compiles for i686 Windows, the shipping build. The program must run on
# every processor Windows 95 and NT 3.51 run on, down to the 486: the compiler's
# default (-march=pentiumpro) would use cmov, which a 486, Pentium, Pentium MMX,
# K6 or VIA C3 cannot execute. The code is scheduled for today's processors.
# (A compile option of every target, not a cached flag, so that a build folder
# configured before keeps to it too.)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MINGW_TRIPLE i686-w64-mingw32)
set(TARGET_PROCESSOR_OPTIONS -march=i486 -mtune=generic)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
