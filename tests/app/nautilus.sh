#!/bin/bash
# The Nautilus script opens the folder its URIs name, byte for byte: a fake tolvane first on
# the PATH records the folder it is given. Everything happens in a temporary folder.
script=$1
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/d" && touch "$work/d/file"
printf '#!/bin/sh\nprintf %%s "$2" > "%s/got"\n' "$work" > "$work/bin/tolvane"
chmod +x "$work/bin/tolvane"
failed=0

# check <case> <selected URIs> <current URI> <folder expected, in printf's notation>
check() {
	local expected
	expected=$(printf "$4.") && expected=${expected%.}
	rm -f "$work/got"
	(cd "$work/d" && PATH="$work/bin:$PATH" NAUTILUS_SCRIPT_SELECTED_URIS="$2" \
		NAUTILUS_SCRIPT_CURRENT_URI="$3" "$script")
	if [ "$(cat "$work/got"; echo .)" != "$expected." ]; then
		echo "FAIL $1: got [$(od -An -c "$work/got")]"
		failed=1
	fi
}

d="$work/d" uri="file://$work/d"
mkdir "$d/a"$'\n'"b" "$d/a" "$d/c"$'\n' "$d/x"$'\377''%\y' "$d/旅行 1"
check "newline inside" "$uri/a%0Ab"$'\n'"$uri/file"$'\n' "$uri" "$d/a\nb"
check "newline at the end" "$uri/c%0A"$'\n' "$uri" "$d/c\n"
check "not UTF-8, percent, backslash" "$uri/x%FF%25%5Cy"$'\n' "$uri" "$d/x\377%%\\\\y"
check "UTF-8 escaped" "$uri/%E6%97%85%E8%A1%8C%201"$'\n' "$uri" "$d/旅行 1"
check "a file: the folder shown" "$uri/file"$'\n' "$uri" "$d"
check "nothing local" "trash:///a"$'\n' "trash:///" "."
exit $failed
