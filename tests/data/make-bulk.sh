#!/usr/bin/env bash
# Regenerates the ou=Bulk block at the end of directory.ldif.
#
# Usage: tests/data/make-bulk.sh [LDIF] [COUNT]
#
# Everything after the "# @@ BULK BLOCK @@" marker line in LDIF (default:
# directory.ldif next to this script) is replaced by COUNT (default 250)
# inetOrgPerson entries under ou=Bulk,dc=quillet,dc=test.  All of them have
# sn "Bulkley", so a name search for "Bulk" matches every one of them.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
ldif=${1:-$here/directory.ldif}
count=${2:-250}
marker='# @@ BULK BLOCK @@'

if ! grep -qxF "$marker" "$ldif"; then
    echo "make-bulk.sh: marker line '$marker' not found in $ldif" >&2
    exit 1
fi

tmp=$(mktemp "$ldif.XXXXXX")
trap 'rm -f "$tmp"' EXIT

{
    # Keep everything up to and including the marker.
    sed "/^$marker\$/q" "$ldif"
    for ((i = 1; i <= count; i++)); do
        n=$(printf '%03d' "$i")
        printf '\n'
        printf 'dn: uid=bulk%s,ou=Bulk,dc=quillet,dc=test\n' "$n"
        printf 'objectClass: top\n'
        printf 'objectClass: person\n'
        printf 'objectClass: organizationalPerson\n'
        printf 'objectClass: inetOrgPerson\n'
        printf 'uid: bulk%s\n' "$n"
        printf 'cn: Member%s Bulkley\n' "$n"
        printf 'givenName: Member%s\n' "$n"
        printf 'sn: Bulkley\n'
        printf 'mail: member%s.bulkley@bulk.quillet.test\n' "$n"
        printf 'telephoneNumber: +1 555 01%02d %03d\n' "$((i / 100))" "$((i % 1000))"
        printf 'o: Quillet Instruments\n'
        printf 'ou: Bulk\n'
    done
} >"$tmp"

chmod 0644 "$tmp"
mv "$tmp" "$ldif"
trap - EXIT
echo "make-bulk.sh: wrote $count bulk entries to $ldif" >&2
