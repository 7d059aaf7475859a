# How this machine runs 32-bit x86 programs: natively, or under Debian's qemu-user through a
# binfmt_misc handler. Sourced by the setup and test scripts and by host/wine-run.

i386_binfmt=/proc/sys/fs/binfmt_misc
i386_handler=qemu-i386
# An ELF32 little-endian i386 executable or shared object, and the mask that lets both through.
i386_magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
i386_mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'

# Whether an i386 program starts here; builds and runs a tiny one with the multilib compiler.
i386_runs() {
  local dir rc=0
  dir=$(mktemp -d)
  if printf 'int main(void) { return 0; }\n' | gcc -m32 -x c - -o "$dir/probe" 2>"$dir/log"; then
    "$dir/probe" >/dev/null 2>&1 </dev/null || rc=1
  else
    cat "$dir/log" >&2
    rc=2
  fi
  rm -rf "$dir"
  return $rc
}

# Whether an enabled binfmt_misc handler takes i386 programs, so that they run emulated.
i386_emulated() {
  local entry
  grep -qs '^enabled' "$i386_binfmt/status" || return 1
  for entry in "$i386_binfmt"/*; do
    case ${entry##*/} in register | status) continue ;; esac
    grep -qs '^enabled' "$entry" &&
      grep -qs '^magic 7f454c4601010100000000000000000002000300' "$entry" && return 0
  done
  return 1
}

# Registers qemu-i386 for i386 programs (root). Prints what is missing when it cannot.
i386_register() {
  if [ ! -e "$i386_binfmt/register" ]; then
    mount -t binfmt_misc binfmt_misc "$i386_binfmt" 2>/dev/null || {
      echo "setup: cannot mount binfmt_misc on $i386_binfmt; as root run" \
        "'mount -t binfmt_misc binfmt_misc $i386_binfmt', or use a kernel that runs" \
        "32-bit programs (CONFIG_IA32_EMULATION, not booted with ia32_emulation=0)" >&2
      return 1
    }
  fi
  [ -e "$i386_binfmt/$i386_handler" ] && echo -1 >"$i386_binfmt/$i386_handler"
  printf ':%s:M::%s:%s:/usr/bin/qemu-i386:\n' "$i386_handler" "$i386_magic" "$i386_mask" \
    >"$i386_binfmt/register" 2>/dev/null || {
    echo "setup: cannot register qemu-i386 in $i386_binfmt/register (needs root)" >&2
    return 1
  }
}
