# Configures and builds both presets: win64 (run and tested here) and win32
# (the Windows 95 artifact).
ptr_build_presets() {
    local jobs
    jobs=$(nproc 2>/dev/null || echo 2)
    cmake --preset win64 >/dev/null && cmake --build --preset win64 -j "$jobs" &&
        cmake --preset win32 >/dev/null && cmake --build --preset win32 -j "$jobs"
}
