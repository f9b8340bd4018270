#!/usr/bin/env bash
# Fails when the English translation lags behind the sources: lupdate is run over the whole of src
# into a temporary copy of translations/kestrin_en.ts, and every text it leaves untranslated
# (new in the sources) or marks vanished or obsolete (gone from the sources) is named.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
lupdate="$(command -v lupdate || true)"
[ -x /usr/lib/qt6/bin/lupdate ] && lupdate=/usr/lib/qt6/bin/lupdate
if [ -z "$lupdate" ]; then
    echo "check_translations: lupdate not found (package qt6-l10n-tools)" >&2
    exit 1
fi
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp "$here/translations/kestrin_en.ts" "$work/kestrin_en.ts"
(cd "$here" && "$lupdate" -silent src -ts "$work/kestrin_en.ts" -source-language ru_RU -target-language en_US) \
    > "$work/lupdate.log" 2>&1 || { cat "$work/lupdate.log" >&2; exit 1; }
# One record per message; the context's name stands in the record of its first message.
awk 'BEGIN { RS = "</message>"; n = 0 }
{
    if (match($0, /<name>[^<]*<\/name>/))
        context = substr($0, RSTART + 6, RLENGTH - 13)
    if (index($0, "<source>") == 0)
        next
    what = ""
    if ($0 ~ /<translation type="unfinished"/ || $0 ~ /<translation><\/translation>/ || $0 ~ /<translation\/>/)
        what = "untranslated"
    else if ($0 ~ /<translation type="(vanished|obsolete)"/)
        what = "no longer in the sources"
    if (what == "")
        next
    source = $0
    sub(/.*<source>/, "", source)
    sub(/<\/source>.*/, "", source)
    gsub(/\n/, "\\n", source)
    gsub(/<byte value="xd"\/>/, "\\r", source)
    gsub(/&quot;/, "\"", source); gsub(/&apos;/, "'\''", source)
    gsub(/&lt;/, "<", source); gsub(/&gt;/, ">", source); gsub(/&amp;/, "\\&", source)
    problems[++n] = "  " context ": \"" source "\": " what
}
END {
    if (n == 0)
        exit 0
    print "check_translations: translations/kestrin_en.ts does not match the sources:" > "/dev/stderr"
    for (i = 1; i <= n; ++i)
        print problems[i] > "/dev/stderr"
    print "check_translations: " n " text(s); update with lupdate and translate them" > "/dev/stderr"
    exit 1
}' "$work/kestrin_en.ts"
