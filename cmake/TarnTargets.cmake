# Helpers shared by every layer's CMakeLists.

set(TARN_WARNINGS -Wall -Wextra)
# The shipped i686 program never runs in the tests on some machines: there its warnings fail the
# build, a function-pointer cast (a callback of the wrong calling convention) included. Only our
# own targets get these flags, never the dependencies.
if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 4)
  list(APPEND TARN_WARNINGS -Werror -Wcast-function-type)
endif()

option(TARN_SANITIZE "Build the native tree with address and undefined-behaviour sanitizers" OFF)
# The fuzz tree (clang): coverage for libFuzzer in every library; the targets add the fuzzer's
# own main. Undefined behaviour stops a run, so libFuzzer keeps the input.
option(TARN_FUZZ "Build the libFuzzer targets under fuzz/ (clang only)" OFF)

function(tarn_apply_options target)
  target_compile_options(${target} PRIVATE ${TARN_WARNINGS})
  if(WIN32)
    # The stub travels in front of every package: small code, each function and datum in a
    # section of its own, so that the link keeps only what is reached.
    target_compile_options(${target} PRIVATE -Os -ffunction-sections -fdata-sections)
  endif()
  target_compile_features(${target} PUBLIC cxx_std_17)
  if(NOT WIN32)
    # 64-bit file offsets and times in 32-bit builds too: off_t, lseek and stat reach past
    # 2 GiB, time stamps past 2038.
    target_compile_definitions(${target} PUBLIC _FILE_OFFSET_BITS=64 _TIME_BITS=64)
  endif()
  if(TARN_SANITIZE AND NOT WIN32)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer)
    target_link_options(${target} PUBLIC -fsanitize=address,undefined)
  endif()
  if(TARN_FUZZ)
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link,address,undefined
                           -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(${target} PUBLIC -fsanitize=address,undefined)
  endif()
endfunction()

# The code our Windows programs are made of is built without exceptions: their tables, the
# clean-up paths and the unwinder would be a third of the stub. Nothing in it throws or catches;
# memory that cannot be had ends the program (src/runtime). Tools and tests keep exceptions.
function(tarn_product_code target)
  if(WIN32)
    target_compile_options(${target} PRIVATE -fno-exceptions -fno-unwind-tables
                           -fno-asynchronous-unwind-tables)
  endif()
endfunction()

# tarn_library(<name> [DEPS <targets>...] [SOURCES <files>...])
# Without SOURCES, every .cpp directly in the calling folder is part of the library.
function(tarn_library name)
  cmake_parse_arguments(ARG "" "" "DEPS;SOURCES" ${ARGN})
  if(ARG_SOURCES)
    set(sources ${ARG_SOURCES})
  else()
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  if(NOT sources)
    # A layer that has no code yet still takes part in the dependency graph.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${TARN_ROOT}/src)
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${TARN_ROOT}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  tarn_apply_options(${name})
  tarn_product_code(${name})
endfunction()

# Windows programs are linked statically so they run on a bare system.
function(tarn_windows_static target)
  if(WIN32)
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++
                        -Wl,--gc-sections)
  endif()
endfunction()


# Links the program's resource script into `target`. The script pulls in the manifest, the icon
# and the ID header, which its own dependency scan misses.
function(tarn_add_resources target)
  set(script ${TARN_ROOT}/src/res/TarnSetup.rc)
  target_sources(${target} PRIVATE ${script})
  set_source_files_properties(${script} TARGET_DIRECTORY ${target} PROPERTIES OBJECT_DEPENDS
    "${TARN_ROOT}/src/res/TarnSetup.manifest;${TARN_ROOT}/src/res/TarnSetup.ico;${TARN_ROOT}/src/res/resource.h")
endfunction()
