#!/usr/bin/env bash
# Fails, naming the file and the include, when a source of the engine's core
# includes a header of a layer above its own (see ARCHITECTURE.md).
set -euo pipefail
src="${1:?usage: check-layers.sh SRC_DIR}"

# What each folder may include besides itself (its sub-folders, such as the
# desktop host in platform/qt, are held to the same).
declare -A below=(
  [base]=""
  [resources]=""
  [platform]="base"
  [graphics]="base platform"
  [sound]="base platform resources"
  [script]="base platform graphics sound resources"
  [screen]="base platform graphics sound resources script"
  [scene]="base platform graphics sound resources script screen"
  [minigame]="base platform graphics sound resources script screen"
  [dialogs]="base platform graphics sound resources script screen"
  [comforts]="base platform graphics sound resources script screen scene"
  [shell]="base platform graphics sound resources script screen scene minigame dialogs comforts"
  [routes]="base platform graphics sound resources script screen scene minigame dialogs comforts shell"
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
