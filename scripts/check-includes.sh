#!/usr/bin/env bash
# Fails on any include that points the wrong way: each part of src/ may
# include only itself and the parts below it (forum -> app -> platform -> Qt;
# the small client libraries of services/ -> platform only; inside a
# library, cells and widgets below screens), model code includes no widget
# header, no include climbs with "../", a test includes only what the code
# it tests may include, and the test forum shares no code with src/.
set -euo pipefail
cd "$(dirname "$0")/.."

# Parts, longest path first: a file belongs to the first part its path starts with.
parts=(
  "src/platform/foundation/:platform/foundation"
  "src/platform/ui/:platform/ui"
  "src/platform/camera/:platform/camera"
  "src/services/ads/:services/ads"
  "src/services/:services"
  "src/neighbours/members/:neighbours/members"
  "src/neighbours/blogs/:neighbours/blogs"
  "src/neighbours/screens/:neighbours/screens"
  "src/app/json/:app/json"
  "src/app/text/:app/text"
  "src/app/config/:app/config"
  "src/app/net/:app/net"
  "src/app/xml/:app/xml"
  "src/app/media/:app/media"
  "src/app/model/:app/model"
  "src/app/store/:app/store"
  "src/app/session/:app/session"
  "src/app/navigation/:app/navigation"
  "src/app/widgets/:app/widgets"
  "src/app/screens/:app/screens"
  "src/forum/model/:forum/model"
  "src/forum/cells/:forum/cells"
  "src/forum/screens/:forum/screens"
  "src/wiring/:wiring"
  "src/main.cpp:main"
)

# What each part may include directly, besides itself; what those include is
# allowed too.
declare -A below=(
  [platform/foundation]=""
  [platform/ui]="platform/foundation"
  [platform/camera]="platform/ui"
  [services]="platform/foundation"
  [services/ads]="platform/ui"
  [app/json]="platform/foundation"
  [app/text]="platform/foundation"
  [app/config]="platform/foundation"
  [app/net]="app/json app/config services"
  [app/xml]="app/net"
  [app/media]="app/net"
  [app/model]="app/net app/media app/config services"
  [app/store]="app/model"
  [app/session]="app/store app/xml app/text"
  [neighbours/members]="app/session"
  [forum/model]="app/session"
  [neighbours/blogs]="forum/model"
  [app/navigation]="app/session platform/ui"
  [app/widgets]="app/navigation services/ads"
  [app/screens]="app/widgets"
  [forum/cells]="forum/model app/widgets"
  [forum/screens]="forum/cells app/screens"
  [neighbours/screens]="forum/screens neighbours/members neighbours/blogs"
  [wiring]="neighbours/screens neighbours/blogs"
  [main]="wiring"
)

# Parts that are model code: no widgets.
core="platform/foundation services app/json app/text app/config app/net app/xml app/media app/model"
core="$core app/store app/session neighbours/members forum/model neighbours/blogs"

part_of() {
  local path=$1 entry
  for entry in "${parts[@]}"; do
    if [[ $path == "${entry%%:*}"* ]]; then
      echo "${entry#*:}"
      return
    fi
  done
  echo ""
}

declare -A allowed
closure() {
  local start=$1 todo seen="" next
  todo="${below[$start]}"
  while [ -n "${todo// /}" ]; do
    next=""
    for p in $todo; do
      case " $seen " in *" $p "*) continue ;; esac
      seen="$seen $p"
      next="$next ${below[$p]:-}"
    done
    todo=$next
  done
  echo "$seen"
}
for p in "${!below[@]}"; do
  allowed[$p]=" $p $(closure "$p") "
done

# The widget headers of the installed Qt, when it can be found.
widget_headers=""
for dir in /usr/include/x86_64-linux-gnu/qt6/QtWidgets /usr/include/aarch64-linux-gnu/qt6/QtWidgets \
           /usr/include/qt6/QtWidgets; do
  if [ -d "$dir" ]; then
    widget_headers=" $(ls "$dir" | tr '\n' ' ') "
    break
  fi
done

failures=0
complain() {
  echo "$1" >&2
  failures=$((failures + 1))
}

# The includes of one file, as from the part it belongs to.
check_file() {
  local file=$1 from=$2 line include to header name
  while IFS= read -r line; do
    include=${line#*\"}
    include=${include%%\"*}
    if [[ $include == ../* || $include == */../* ]]; then
      complain "$file includes \"$include\": name the file from its part, not with ../"
      continue
    fi
    # A bare name is a file beside the including one.
    [[ $include == */* ]] || include="$(dirname "${file#src/}")/$include"
    to=$(part_of "src/$include")
    [ -z "$to" ] && continue
    if [[ ${allowed[$from]} != *" $to "* ]]; then
      complain "$file includes \"$include\": $from may not include $to"
    fi
  done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" || true)
  if [[ " $core " == *" $from "* && -n "$widget_headers" ]]; then
    while IFS= read -r header; do
      name=${header##*[<\/]}
      name=${name%>}
      if [[ $widget_headers == *" $name "* || $header == *"<QtWidgets"* ]]; then
        complain "$file includes $header: $from is model code and includes no widget header"
      fi
    done < <(grep -Eo '^[[:space:]]*#[[:space:]]*include[[:space:]]*<[^>]+>' "$file" | grep -Eo '<[^>]+>' || true)
  fi
}

while IFS= read -r file; do
  from=$(part_of "$file")
  if [ -z "$from" ]; then
    complain "$file: belongs to no known part of src/ (add it to scripts/check-includes.sh)"
    continue
  fi
  check_file "$file" "$from"
done < <(find src -name '*.cpp' -o -name '*.h' | sort)

# Tests mirror src/: a test includes what the code it tests may include
# (the shared fixtures of tests/support are the tests' own).
while IFS= read -r file; do
  from=$(part_of "src/${file#tests/}")
  [ -n "$from" ] && check_file "$file" "$from"
done < <(find tests -name '*.cpp' -o -name '*.h' | sort)

# The test forum is a program of its own, written from the protocol alone.
if [ -d testforum ]; then
  while IFS= read -r hit; do
    complain "$hit: the test forum shares no code with src/"
  done < <(grep -rEn '^[[:space:]]*#[[:space:]]*include[[:space:]]*"(platform|app|forum|neighbours)/' testforum || true)
fi

if [ "$failures" -gt 0 ]; then
  echo "$failures include(s) point the wrong way" >&2
  exit 1
fi
echo "Includes point one way."
