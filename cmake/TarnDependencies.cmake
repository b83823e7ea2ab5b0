# liblzma and GoogleTest: the system's packages natively; for the Windows builds and the 32-bit
# Linux build the static copies that scripts/install-deps.sh builds into .deps/mingw32 (and
# mingw64, linux32).

if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(TARN_STATIC_DEPS ${TARN_ROOT}/.deps/mingw64)
elseif(WIN32)
  set(TARN_STATIC_DEPS ${TARN_ROOT}/.deps/mingw32)
elseif(CMAKE_CROSSCOMPILING AND CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(TARN_STATIC_DEPS ${TARN_ROOT}/.deps/linux32)
endif()

if(TARN_STATIC_DEPS)
  if(NOT EXISTS ${TARN_STATIC_DEPS}/lib/liblzma.a)
    message(FATAL_ERROR "liblzma for this target is missing: run scripts/install-deps.sh")
  endif()
  add_library(tarn_lzma STATIC IMPORTED GLOBAL)
  set_target_properties(tarn_lzma PROPERTIES
    IMPORTED_LOCATION ${TARN_STATIC_DEPS}/lib/liblzma.a
    INTERFACE_INCLUDE_DIRECTORIES ${TARN_STATIC_DEPS}/include
    INTERFACE_COMPILE_DEFINITIONS LZMA_API_STATIC)

  foreach(lib gtest gtest_main gmock)
    add_library(tarn_${lib} STATIC IMPORTED GLOBAL)
    set_target_properties(tarn_${lib} PROPERTIES
      IMPORTED_LOCATION ${TARN_STATIC_DEPS}/lib/lib${lib}.a
      INTERFACE_INCLUDE_DIRECTORIES ${TARN_STATIC_DEPS}/include)
  endforeach()
  set(TARN_GTEST tarn_gtest)
  set(TARN_GTEST_MAIN tarn_gtest_main)
  set(TARN_GMOCK tarn_gmock)
endif()

if(WIN32)
  # Cross-built tests run under Wine through this wrapper.
  set(TARN_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(TARN_WINE_ARCH win64)
  else()
    set(TARN_WINE_ARCH win32)
  endif()
  configure_file(${TARN_ROOT}/scripts/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                  WORLD_READ WORLD_EXECUTE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
elseif(TARN_STATIC_DEPS)
  find_package(Threads REQUIRED)
  # The static liblzma and GoogleTest use threads.
  set_property(TARGET tarn_lzma tarn_gtest APPEND PROPERTY INTERFACE_LINK_LIBRARIES
               Threads::Threads)
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(LZMA REQUIRED IMPORTED_TARGET liblzma)
  add_library(tarn_lzma INTERFACE)
  target_link_libraries(tarn_lzma INTERFACE PkgConfig::LZMA)

  find_package(GTest REQUIRED)
  find_package(Threads REQUIRED)
  set(TARN_GTEST GTest::gtest)
  set(TARN_GTEST_MAIN GTest::gtest_main)
  set(TARN_GMOCK GTest::gmock)
endif()
