#!/usr/bin/env bash
# Runs one golden case: zentrim-host run on the case's project with its arguments, then compares
# the report and the resulting project (as data) and the pictures (as decoded pixels, within the
# case's `tolerance` file if it has one) with ref/. What differs is kept in the candidates folder,
# in the build tree. ZENTRIM_UPDATE_GOLDEN=1 rewrites ref/.
# Usage: run_case.sh CASE_DIR ZENTRIM_HOST COMPARE_PICTURES CANDIDATES_DIR
set -euo pipefail
case_dir=$1
host=$2
compare=$3
candidates=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

args=()
read -r -a args < "$case_dir/args"
ui=()
[ -f "$case_dir/ui.json" ] && ui=(--ui "$case_dir/ui.json")
status=0
"$host" run "$case_dir/project.json" "${args[@]}" "${ui[@]}" --json --undo \
  --out "$work/out.json" --render "$work/render" > "$work/report.json" || status=$?
echo "$status" > "$work/exit"
# Footage paths in the written project are relative to wherever it was written, and the writer's
# line breaks follow their length: compare the project as data, with footage by file name.
if [ -f "$work/out.json" ]; then
  python3 - "$work/out.json" <<'PY'
import json, os, sys
path = sys.argv[1]
with open(path) as f:
    project = json.load(f)
for item in project.get("items", []):
    if item.get("type") == "image":
        item["path"] = os.path.basename(item["path"])
with open(path, "w") as f:
    json.dump(project, f, indent=1, sort_keys=True)
    f.write("\n")
PY
fi

if [ "${ZENTRIM_UPDATE_GOLDEN:-0}" = 1 ]; then
  rm -rf "$case_dir/ref"
  mkdir -p "$case_dir/ref"
  cp "$work/report.json" "$work/exit" "$case_dir/ref/"
  [ -f "$work/out.json" ] && cp "$work/out.json" "$case_dir/ref/"
  [ -d "$work/render" ] && cp "$work/render/"*.png "$case_dir/ref/" 2>/dev/null || true
  echo "updated $case_dir/ref"
  exit 0
fi

tolerance=0
[ -f "$case_dir/tolerance" ] && tolerance=$(tr -d '[:space:]' < "$case_dir/tolerance")
rm -rf "$candidates"
keep() {  # keep what this run produced, for a person to look at
  mkdir -p "$candidates"
  cp "$@" "$candidates/" 2>/dev/null || true
}

failed=0
for f in exit report.json out.json; do
  if [ -f "$case_dir/ref/$f" ]; then
    if ! diff -u "$case_dir/ref/$f" "$work/$f"; then
      echo "differs: $f (the new one kept in $candidates)"
      keep "$work/$f"
      failed=1
    fi
  fi
done
for ref in "$case_dir/ref/"*.png; do
  [ -e "$ref" ] || continue
  name=$(basename "$ref")
  if [ ! -f "$work/render/$name" ]; then
    echo "picture missing: $name"
    failed=1
    continue
  fi
  mkdir -p "$candidates"
  if ! "$compare" "$ref" "$work/render/$name" --tolerance "$tolerance" \
      --diff "$candidates/${name%.png}.diff.png"; then
    echo "picture differs: $name (the new one and a diff kept in $candidates)"
    keep "$work/render/$name"
    failed=1
  fi
done
if [ -d "$work/render" ]; then
  for got in "$work/render/"*.png; do
    [ -e "$got" ] || continue
    if [ ! -f "$case_dir/ref/$(basename "$got")" ]; then
      echo "new picture not in ref/: $(basename "$got") (kept in $candidates)"
      keep "$got"
      failed=1
    fi
  done
fi
[ "$failed" = 0 ] && rm -rf "$candidates"
exit $failed
