# Sourced by the scripts. heartbeat <command...> runs the command (a function too), its output
# passed through as it comes, and after each 10 s of its silence (30 s with CI=true) says on
# standard error that the command is still running. Its status is the command's.
heartbeat() {
  local every=10 begin=$SECONDS line status
  [ "${CI:-}" != true ] || every=30
  "$@" 2>&1 | while true; do
    if IFS= read -r -t "$every" line; then
      echo "$line"
    else
      status=$?
      [ "$status" -gt 128 ] || break
      if [ -n "$line" ]; then printf '%s' "$line"; else echo "    ... $1 still running ($((SECONDS - begin)) s)" >&2; fi
    fi
  done
  return "${PIPESTATUS[0]}"
}
