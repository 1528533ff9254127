# How the three Pointerhub modules are built: no exceptions, no RTTI, no C++
# runtime, exports undecorated on both architectures.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  set(PTR_DLL_ENTRY _DllMain@12)
else()
  set(PTR_DLL_ENTRY DllMain)
endif()

# ptr_module(target ENTRY symbol LIBS lib...): a module that starts at its own
# entry point and carries no language runtime of its own; LIBS are the system
# DLLs (and, where a module uses it, msvcrt) that it imports.
function(ptr_module target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "ENTRY" "LIBS")
  set_target_properties(${target} PROPERTIES PREFIX "" CXX_VISIBILITY_PRESET default)
  target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-rtti>
                         $<$<COMPILE_LANGUAGE:C,CXX>:-fno-asynchronous-unwind-tables -Os>)
  target_link_options(${target} PRIVATE -nostdlib -Wl,-e,${arg_ENTRY} -Wl,--subsystem,windows -Wl,--enable-stdcall-fixup
                      -Wl,--dynamicbase -Wl,--nxcompat -s)
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    # Windows 95 loads only images that ask for version 4.0 of the system.
    target_link_options(${target} PRIVATE -Wl,--major-subsystem-version,4 -Wl,--minor-subsystem-version,0
                        -Wl,--major-os-version,4 -Wl,--minor-os-version,0)
  endif()
  target_link_libraries(${target} PRIVATE ${arg_LIBS} gcc)
endfunction()
