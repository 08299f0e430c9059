#!/usr/bin/env bash
# Runs one golden case: zentrim-host run on the case's project with its arguments, then compares
# the report, the resulting project and the pictures with ref/. ZENTRIM_UPDATE_GOLDEN=1 rewrites ref/.
set -euo pipefail
case_dir=$1
host=$2
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

failed=0
for f in exit report.json out.json; do
  if [ -f "$case_dir/ref/$f" ]; then
    if ! diff -u "$case_dir/ref/$f" "$work/$f"; then
      echo "differs: $f"
      failed=1
    fi
  fi
done
for ref in "$case_dir/ref/"*.png; do
  [ -e "$ref" ] || continue
  name=$(basename "$ref")
  if ! cmp -s "$ref" "$work/render/$name"; then
    echo "picture differs: $name (new one kept as $case_dir/$name.new.png)"
    cp "$work/render/$name" "$case_dir/$name.new.png" 2>/dev/null || true
    failed=1
  fi
done
if [ -d "$work/render" ]; then
  for got in "$work/render/"*.png; do
    [ -e "$got" ] || continue
    [ -f "$case_dir/ref/$(basename "$got")" ] || { echo "new picture not in ref/: $(basename "$got")"; failed=1; }
  done
fi
exit $failed
