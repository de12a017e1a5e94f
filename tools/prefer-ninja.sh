# Sourced by the build scripts. New build trees use Ninja where it is
# installed: it compiles a program's files while the libraries it links are
# still being built, so the cores stay busy through the link steps. A tree
# already made keeps its generator.
if [ -z "${CMAKE_GENERATOR:-}" ] && command -v ninja >/dev/null 2>&1; then
    export CMAKE_GENERATOR=Ninja
fi
