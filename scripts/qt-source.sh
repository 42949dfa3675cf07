# Qt's sources for the cross builds, sourced by scripts/windows.sh and
# scripts/web.sh. Those set qt_version, cache (where built Qt and apt's own
# state go) and sources (a folder that may hold the archives) first.

# Prints the path of module $1's source archive, from $sources or else from
# Debian's source package, fetched through an apt configuration of our own.
qt_source_archive() {
    local module=$1 package=qt6-${1#qt}
    local archive=$sources/$module-everywhere-src-$qt_version.tar.xz
    if [[ -f $archive ]]; then
        echo "$archive"
        return
    fi
    local apt=$cache/apt
    mkdir -p "$apt/lists/partial" "$apt/parts" "$apt/archives"
    if [[ ! -f $apt/parts/src.sources ]]; then
        # The system's own Debian entries, as deb-src; the system's sources
        # are left as they are.
        { sed -n 's/^Types: deb$/Types: deb-src/;/^\(Types\|URIs\|Suites\|Components\|Signed-By\):/p;/^$/p' \
              /etc/apt/sources.list.d/*.sources 2>/dev/null
          sed -n 's/^deb /deb-src /p' /etc/apt/sources.list 2>/dev/null
        } >"$apt/parts/src.sources.tmp"
        # One-line entries cannot share a deb822 file.
        grep '^deb-src ' "$apt/parts/src.sources.tmp" >"$apt/parts/src.list" || rm -f "$apt/parts/src.list"
        grep -v '^deb-src ' "$apt/parts/src.sources.tmp" >"$apt/parts/src.sources"
        rm "$apt/parts/src.sources.tmp"
    fi
    local aptopts=(-qq -o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$apt/parts"
                   -o Dir::State::Lists="$apt/lists" -o Dir::Cache="$apt")
    # apt's download user cannot reach a folder of root's
    [[ $(id -u) -eq 0 ]] && aptopts+=(-o APT::Sandbox::User=root)
    apt-get "${aptopts[@]}" update >&2
    (cd "$apt/archives" && apt-get "${aptopts[@]}" source --download-only "$package" >&2) || {
        echo "No source for $module: put $module-everywhere-src-$qt_version.tar.xz into" \
             "a folder and name it with TERVALIN_QT_SOURCES." >&2
        return 1
    }
    ls "$apt/archives/${package}_$qt_version"*.orig.tar.* | head -n 1
}

# Unpacks qtbase and qtsvg into $1/src/qtbase and $1/src/qtsvg.
unpack_qt_sources() {
    local work=$1 module archive
    for module in qtbase qtsvg; do
        archive=$(qt_source_archive $module)
        mkdir -p "$work/src/$module"
        tar -xf "$archive" -C "$work/src/$module" --strip-components=1
    done
}
