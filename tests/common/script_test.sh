# What the shell tests share; sourced. A test that cannot run here is
# skipped (exit 77) and says what is missing; a failure ends it (exit 1),
# unless the test keeps counting its failures itself.

skip() {
  echo "SKIPPED: $*"
  exit 77
}

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

# Skips unless every tool named is on the PATH.
need_tools() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || skip "$tool is missing (scripts/deps.sh installs it)"
  done
}
