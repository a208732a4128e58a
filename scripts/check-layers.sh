#!/usr/bin/env bash
# Fails, naming the file and the include, when a source of the engine's core
# includes a header of a layer above its own (see ARCHITECTURE.md).
set -euo pipefail
src="${1:?usage: check-layers.sh SRC_DIR}"

# What each folder may include besides itself (its sub-folders, such as the
# desktop host in backends/hosts/qt, are held to the same).
declare -A below=(
  [base]=""
  [host]="base"
  [window]="base host"
  [graphics]="base host window"
  [sound]="base host window"
  [story]="base host window graphics sound"
  [storage]="base host window graphics sound story"
  [saves]="base host window graphics sound story storage"
  [screen]="base host window graphics sound story storage"
  [scene]="base host window graphics sound story storage screen"
  [minigame]="base host window graphics sound story storage screen"
  [dialogs]="base host window graphics sound story storage screen"
  [comforts]="base host window graphics sound story storage screen scene"
  [shell]="base host window graphics sound story storage saves screen scene minigame dialogs comforts"
  # The route walker runs the game's interpreter on the headless host.
  [routes]="base host window graphics sound story storage saves screen scene minigame dialogs comforts shell backends"
  # The ports of the backends build on the portable layers below the story.
  [backends]="base host window graphics sound"
)

status=0
for layer in "${!below[@]}"; do
  [[ -d "$src/$layer" ]] || continue
  allowed=" $layer ${below[$layer]} "
  while IFS= read -r match; do
    file="${match%%:*}"
    included="$(sed -E 's/.*#include "([a-z]+)\/.*/\1/' <<<"$match")"
    if [[ "$allowed" != *" $included "* ]]; then
      echo "layers: $file includes a header of $included/, which is above $layer/: $match" >&2
      status=1
    fi
  done < <(grep -rnE '^#include "[a-z]+/' "$src/$layer" --include='*.h' --include='*.cpp' || true)
done
exit $status
