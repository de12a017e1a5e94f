# The engine and game are built area by area (one OBJECT library per folder
# under src/), then gathered into one library that every program links whole,
# so that classes which only register themselves are never dropped: static,
# or shared with TUNDRA_SHARED_ENGINE.

# area folder (relative to src/) and the libraries its code calls
set(TUNDRA_AREAS
    os core math pal input renderer engine collision physics tundra sound
    gui network mygame mygame/generated)
# The ThreadSanitizer build runs the foundation's, the sound engine's (its
# streaming thread) and the network engine's tests (its I/O, dispatch and
# broadcast threads): it builds those areas and nothing more.
if(TUNDRA_TSAN)
    set(TUNDRA_AREAS os core pal math sound network)
endif()
# The game's network front end (files Network_Tun*, Network_Net*) sits on the
# game framework, which that build leaves out: it leaves the front end out too.
set(TUNDRA_FRONT_END_FILES "/Network_(Tun|Net)[^/]*\\.cpp$")
# The global allocation operators are left out of the engine library: each
# program links them itself (src/CMakeLists.txt).
set(TUNDRA_OPERATOR_FILE "/core/Core_GlobalOperators\\.cpp$")

set(TUNDRA_DEPS_os        SDL2::SDL2 SDL2_image::SDL2_image X11::X11 OpenGL::GL OpenGL::GLU Threads::Threads)
set(TUNDRA_DEPS_core      PkgConfig::LUA Threads::Threads)
set(TUNDRA_DEPS_math      PkgConfig::LUA)
set(TUNDRA_DEPS_pal       SDL2::SDL2 Threads::Threads)
set(TUNDRA_DEPS_input     SDL2::SDL2)
set(TUNDRA_DEPS_renderer  OpenGL::GL OpenGL::GLU SDL2::SDL2 SDL2_image::SDL2_image)
set(TUNDRA_DEPS_engine    OpenGL::GL OpenGL::GLU)
set(TUNDRA_DEPS_sound     OpenAL::OpenAL PkgConfig::VORBIS Threads::Threads)
set(TUNDRA_DEPS_tundra    PkgConfig::LUA)
set(TUNDRA_DEPS_network   Threads::Threads)
set(TUNDRA_DEPS_gui       PkgConfig::LUA)

# Adds the OBJECT library of one area when its folder holds sources.
function(tundra_add_area area)
    file(GLOB sources CONFIGURE_DEPENDS
         ${PROJECT_SOURCE_DIR}/src/${area}/*.cpp
         ${PROJECT_SOURCE_DIR}/src/${area}/*.c)
    if(TUNDRA_TSAN)
        list(FILTER sources EXCLUDE REGEX "${TUNDRA_FRONT_END_FILES}")
    endif()
    list(FILTER sources EXCLUDE REGEX "${TUNDRA_OPERATOR_FILE}")
    if(NOT sources)
        return()
    endif()
    string(REPLACE "/" "_" name "tundra_${area}")
    add_library(${name} OBJECT ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    tundra_unity_build(${name})
    string(REPLACE "/" "_" depsvar "TUNDRA_DEPS_${area}")
    target_link_libraries(${name} PUBLIC ${${depsvar}})
    # Nearly every file of every area reads these standard headers: parsed
    # once for the whole engine they cost a fraction of parsing them in each
    # file. The first area makes the header, the others take it.
    get_property(first GLOBAL PROPERTY TUNDRA_AREA_TARGETS)
    if(first)
        list(GET first 0 first)
        target_precompile_headers(${name} REUSE_FROM ${first})
    else()
        target_precompile_headers(${name} PRIVATE <algorithm> <array> <atomic> <cmath> <cstdint> <cstdio> <cstdlib>
                                  <cstring> <functional> <map> <memory> <optional> <span> <string> <string_view>
                                  <system_error> <unordered_map> <utility> <vector>)
    endif()
    set_property(GLOBAL APPEND PROPERTY TUNDRA_AREA_TARGETS ${name})
endfunction()
