#!/usr/bin/env bash
# Kills a program checking guests in and out at random moments, then checks the records with
# `tamrivo-records check`; does so KILLS times (default 200). Not part of the tests: it runs
# for some minutes. The program is the real screens driven offscreen (tamrivo_soak_driver), so
# every write is the one a landlord's click makes.
#   bash scripts/soak.sh [KILLS]
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

kills=${1:-200}
[[ "$kills" =~ ^[0-9]+$ ]] || fail "usage: scripts/soak.sh [KILLS]"

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --parallel "$(build_jobs)" --target tamrivo_soak_driver tamrivo-records
driver=build/tests/app/tamrivo_soak_driver
records=build/tamrivo-records

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
"$records" --folder "$folder" create --demo >/dev/null

export QT_QPA_PLATFORM=offscreen
mid_transaction=0
for ((kill = 1; kill <= kills; kill++)); do
    "$driver" "$folder" "$kill" >/dev/null 2>&1 &
    pid=$!
    # Between 0.2 and 2.2 seconds: some kills land in the start-up, most among the writes.
    sleep "$((RANDOM % 2)).$((RANDOM % 10))$((RANDOM % 10))"
    sleep 0.2
    kill -KILL "$pid" 2>/dev/null || fail "the driver ended by itself before kill $kill"
    wait "$pid" 2>/dev/null || true
    [ -e "$folder/Data/Data.db-journal" ] && mid_transaction=$((mid_transaction + 1))
    if ! "$records" --folder "$folder" check >"$folder/check.txt"; then
        cat "$folder/check.txt" >&2
        fail "the records are not sound after kill $kill"
    fi
done

# The day's backup, made by the first run that lived long enough, must be whole too.
backup=$(find "$folder/Data/backup" -name 'Data-*.db' 2>/dev/null | head -n 1)
backup_state="not made"
if [ -n "$backup" ]; then
    mkdir -p "$folder/copy/Data"
    cp "$backup" "$folder/copy/Data/Data.db"
    "$records" --folder "$folder/copy" check >/dev/null || fail "the daily backup $backup is not sound"
    backup_state=sound
fi

leases=$(sed -n 's/.* is sound: .*, \([0-9]*\) leases$/\1/p' "$folder/check.txt")
echo "tamrivo: $kills kills ($mid_transaction in the middle of a transaction), the records sound" \
     "after every one; $leases leases written; the daily backup $backup_state"
