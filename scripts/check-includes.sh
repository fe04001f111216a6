#!/usr/bin/env bash
# Fails on any include that points the wrong way: each part of src/ may
# include only itself and the parts below it (forum -> app -> platform -> Qt;
# the client-library stand-ins -> platform only), model code includes no
# widget header, and the test forum shares no code with src/.
set -euo pipefail
cd "$(dirname "$0")/.."

# Parts, longest path first: a file belongs to the first part its path starts with.
parts=(
  "src/app/config/Config.:app/config/Config"
  "src/platform/foundation/:platform/foundation"
  "src/platform/ui/:platform/ui"
  "src/platform/camera/:platform/camera"
  "src/neighbours/clients/:neighbours/clients"
  "src/neighbours/ads/:neighbours/ads"
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
  "src/app/screens/:app/ui"
  "src/app/widgets/:app/ui"
  "src/forum/model/:forum/model"
  "src/forum/screens/:forum/ui"
  "src/forum/cells/:forum/ui"
  "src/wiring/:wiring"
  "src/main.cpp:main"
)

# What each part may include directly, besides itself; what those include is
# allowed too. "app/config" is the error table, the error presenter and the
# theme; "app/config/Config" the configuration model above the model layer.
declare -A below=(
  [platform/foundation]=""
  [platform/ui]="platform/foundation"
  [platform/camera]="platform/ui"
  [neighbours/clients]="platform/foundation"
  [neighbours/ads]="platform/ui"
  [app/json]="platform/foundation"
  [app/text]="platform/foundation"
  [app/config]="platform/foundation"
  [app/net]="app/json app/config"
  [app/xml]="app/net"
  [app/media]="app/net"
  [app/model]="app/net app/media app/config"
  [app/store]="app/model"
  [app/config/Config]="app/model neighbours/clients"
  [app/session]="app/config/Config app/store app/xml app/text"
  [neighbours/members]="app/session"
  [forum/model]="app/session"
  [neighbours/blogs]="forum/model"
  [app/ui]="app/session platform/ui neighbours/ads"
  [forum/ui]="forum/model app/ui"
  [neighbours/screens]="forum/ui neighbours/members neighbours/blogs"
  [wiring]="neighbours/screens neighbours/blogs"
  [main]="wiring"
)

# Parts that are model code: no widgets.
core="platform/foundation neighbours/clients app/json app/text app/config app/net app/xml app/media app/model"
core="$core app/store app/config/Config app/session neighbours/members forum/model neighbours/blogs"

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

while IFS= read -r file; do
  from=$(part_of "$file")
  if [ -z "$from" ]; then
    complain "$file: belongs to no known part of src/ (add it to scripts/check-includes.sh)"
    continue
  fi
  while IFS= read -r line; do
    include=${line#*\"}
    include=${include%%\"*}
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
done < <(find src -name '*.cpp' -o -name '*.h' | sort)

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
