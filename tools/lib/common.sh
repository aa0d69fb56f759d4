# Sourced by the scripts in tools/: the step banner, the host tools and
# zipping. Expects to run at the top of the tree, with $jobs set.

step() { printf '\n==== %s\n' "$*"; }

# The pictures, sounds and the text font's glyph table are made by host tools,
# so a cross build needs the build machine's own build (build/, preset
# "default") first.
build_host_tools() {
    step "host tools (build/tools)"
    cmake --preset default >/dev/null
    cmake --build --preset default -j"$jobs" --target dellomar_host_tools
}

# Packs folder $1 into zip $3 as one folder named $2.
zip_folder() {
    local stage
    stage=$(mktemp -d)
    cp -r "$1" "$stage/$2"
    rm -f "$3"
    (cd "$stage" && cmake -E tar cf "$OLDPWD/$3" --format=zip "$2")
    rm -rf "$stage"
}
