# Every third-party library the project links, found once here.
# The Debian packages that provide them are listed in tools/packages.txt.
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
find_package(SDL2 REQUIRED CONFIG)
find_package(SDL2_image REQUIRED CONFIG)
# The OS layer asks the X display itself what SDL keeps stale copies of.
find_package(X11 REQUIRED)
set(OpenGL_GL_PREFERENCE GLVND)
find_package(OpenGL REQUIRED COMPONENTS OpenGL)
find_package(OpenAL REQUIRED)
pkg_check_modules(VORBIS REQUIRED IMPORTED_TARGET vorbisfile vorbis ogg)
# The encoder makes the sound files of the tests, benchmarks and assets.
pkg_check_modules(VORBISENC REQUIRED IMPORTED_TARGET vorbisenc)

# Lua built as C++: a script error unwinds as an exception, so the
# destructors of the engine code it passes through run.
pkg_check_modules(LUA REQUIRED IMPORTED_TARGET lua5.1-c++)

# Only the asset generator draws with cairo, rasterises glyphs with FreeType
# and writes PNG files with libpng.
pkg_check_modules(CAIRO REQUIRED IMPORTED_TARGET cairo)
pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
pkg_check_modules(PNG REQUIRED IMPORTED_TARGET libpng)

if(NOT TARGET OpenAL::OpenAL)
    add_library(OpenAL::OpenAL INTERFACE IMPORTED)
    target_include_directories(OpenAL::OpenAL INTERFACE ${OPENAL_INCLUDE_DIR})
    target_link_libraries(OpenAL::OpenAL INTERFACE ${OPENAL_LIBRARY})
endif()

# The benchmarks share the tests' support code, which checks with GoogleTest.
if(TUNDRA_BUILD_TESTS OR TUNDRA_BUILD_BENCH)
    find_package(GTest REQUIRED)
endif()
if(TUNDRA_BUILD_TESTS)
    include(GoogleTest)
endif()

if(TUNDRA_BUILD_BENCH)
    find_package(benchmark REQUIRED)
endif()
