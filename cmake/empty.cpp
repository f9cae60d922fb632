// The shared object carries only the subsystem archives linked into it.
