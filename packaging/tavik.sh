#!/bin/sh
# Starts Tavik from its data directory: the demo reads font.bmp from its working directory.
# The installed tree is found from this script's own location, following symbolic links to
# it, so a tree that was unpacked or moved elsewhere works as well. Every argument goes on
# to the demo (and so to GLUT) unchanged, and exec keeps the demo's exit status.
self=$0
while [ -h "$self" ]; do
    link=$(readlink "$self") || break
    case $link in
        /*) self=$link ;;
        *)
            case $self in
                */*) self=${self%/*}/$link ;;
                *) self=$link ;;
            esac
            ;;
    esac
done
case $self in
    */*) here=${self%/*} ;;
    *) here=. ;;
esac
prefix=$(CDPATH="" cd -- "$here/.." && pwd -P) || exit 1
data=$prefix/share/tavik

if ! cd "$data" 2>/dev/null; then
    echo "tavik: cannot enter the data directory $data" >&2
    exit 1
fi
exec "$prefix/libexec/tavik/tavik" "$@"
