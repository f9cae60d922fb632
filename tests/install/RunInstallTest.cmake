# Drives the install test from ctest (cmake -P), one step per ARN_MODE:
#   Layout    installs the build into ARN_PREFIX and checks what landed where
#   CMake     builds the outside host with find_package against ARN_PREFIX and runs it
#   PkgConfig builds the same host with the flags pkg-config gives and runs it
# Inputs: ARN_BINARY_DIR, ARN_PREFIX, ARN_WORK_DIR, ARN_OUTSIDE_DIR, ARN_LIBDIR, ARN_CXX,
# ARN_GENERATOR, ARN_BUILD_TYPE, ARN_CXX_FLAGS, ARN_LINK_FLAGS, ARN_PKG_CONFIG.
cmake_minimum_required(VERSION 3.25)

function(run_checked out)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE stdout
                  ERROR_VARIABLE stderr)
  if(NOT rc EQUAL 0)
    string(JOIN " " cmd ${ARGN})
    message(FATAL_ERROR "failed (${rc}): ${cmd}\n${stdout}\n${stderr}")
  endif()
  set(${out} "${stdout}" PARENT_SCOPE)
endfunction()

function(expect_contains text wanted what)
  string(FIND "${text}" "${wanted}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${what}: expected to find\n  ${wanted}\nin\n${text}")
  endif()
endfunction()

# The outside host's report: the design caption before the first tick, the four-position
# layout after it, the installed component's own path, the release, and the object that the
# component's server makes (the panel's automation object, as on Windows).
function(check_host_output text)
  set(expected
      "attached: inALbl=\"InA\"\n"
      "bound: positions=4 inALbl=\"P-sel A\" frame=\"Position Selection Setup (counts)\"\n"
      "version: 1.0.0  ${P}/${ARN_LIBDIR}/ArnAbsPosn\n"
      "released: attached=no\n"
      "served: ArnAbsPosnCtl Enabled=no\n")
  string(CONCAT expected ${expected})
  if(NOT text STREQUAL expected)
    message(FATAL_ERROR "outside host printed\n${text}\nexpected\n${expected}")
  endif()
endfunction()

set(P ${ARN_PREFIX})
if(EXISTS ${P})
  # The component reports its folder with links resolved.
  file(REAL_PATH ${P} P)
endif()
set(inc ${P}/include/arnabsposn)

if(ARN_MODE STREQUAL "Layout")
  file(REMOVE_RECURSE ${P} ${ARN_WORK_DIR})
  file(MAKE_DIRECTORY ${ARN_WORK_DIR})
  run_checked(out ${CMAKE_COMMAND} --install ${ARN_BINARY_DIR} --prefix ${P})

  set(present
      ${ARN_LIBDIR}/ArnAbsPosn.so
      ${ARN_LIBDIR}/libarnabsposn_sim.a
      ${ARN_LIBDIR}/cmake/ArnAbsPosn/ArnAbsPosnConfig.cmake
      ${ARN_LIBDIR}/cmake/ArnAbsPosn/ArnAbsPosnConfigVersion.cmake
      ${ARN_LIBDIR}/cmake/ArnAbsPosn/ArnAbsPosnTargets.cmake
      ${ARN_LIBDIR}/pkgconfig/arnabsposn.pc
      ${ARN_LIBDIR}/pkgconfig/arnabsposn-sim.pc
      bin/arnreg bin/arn_console
      include/arnabsposn/core/Event.h
      include/arnabsposn/platform/DebugChannel.h
      include/arnabsposn/platform/registry/RegistryApi.h
      include/arnabsposn/toolkit/UserControl.h
      include/arnabsposn/host/Node.h
      include/arnabsposn/host/values/Field.h
      include/arnabsposn/host/controls/ParamEditor.h
      include/arnabsposn/support/DebuggingFlags.h
      include/arnabsposn/inputs/jogAndSwInputs.h
      include/arnabsposn/panel/ArnAbsPosnCtl.h
      include/arnabsposn/component/ArnAbsPosnServer.h
      include/arnabsposn/sim/SimNet.h)
  if(EXISTS ${ARN_BINARY_DIR}/app/arn_qt)
    list(APPEND present bin/arn_qt)
  endif()
  foreach(f ${present})
    if(NOT EXISTS ${P}/${f})
      message(FATAL_ERROR "not installed: ${f}")
    endif()
  endforeach()

  # The component keeps its name without "lib"; no sources, no operating-system folders and no
  # test doubles among the headers.
  file(GLOB stray ${P}/${ARN_LIBDIR}/libArnAbsPosn*)
  file(GLOB_RECURSE headers LIST_DIRECTORIES true RELATIVE ${inc} ${inc}/*)
  foreach(h ${headers})
    if((NOT IS_DIRECTORY ${inc}/${h} AND NOT h MATCHES "\\.h$")
       OR h MATCHES "(^|/)(posix|win32|fakes)(/|$)" OR h MATCHES "(GenericControl|PropertyBag)\\.h$")
      list(APPEND stray ${h})
    endif()
  endforeach()
  if(stray)
    message(FATAL_ERROR "installed but should not be: ${stray}")
  endif()

  # The installed programs run from the prefix.
  set(db ${ARN_WORK_DIR}/registry.db)
  run_checked(out ${P}/bin/arnreg --db ${db} set "HKCU\\Software\\ArnInstall" Where prefix)
  run_checked(out ${P}/bin/arnreg --db ${db} get "HKCU\\Software\\ArnInstall" Where)
  expect_contains("${out}" "prefix" "installed arnreg get")
  run_checked(out ${P}/bin/arn_console --ticks 1)
  expect_contains("${out}" "Panel after 1 ticks" "installed arn_console")

elseif(ARN_MODE STREQUAL "CMake")
  set(build ${ARN_WORK_DIR}/cmake-host)
  file(REMOVE_RECURSE ${build})
  run_checked(out ${CMAKE_COMMAND} -S ${ARN_OUTSIDE_DIR} -B ${build} -G ${ARN_GENERATOR}
              -DCMAKE_CXX_COMPILER=${ARN_CXX} -DCMAKE_BUILD_TYPE=${ARN_BUILD_TYPE}
              "-DCMAKE_CXX_FLAGS=${ARN_CXX_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${ARN_LINK_FLAGS}"
              -DCMAKE_PREFIX_PATH=${P})
  expect_contains("${out}" "ArnAbsPosn 1.0.0 from ${P}/${ARN_LIBDIR}/cmake/ArnAbsPosn"
                  "find_package")
  run_checked(out ${CMAKE_COMMAND} --build ${build})
  run_checked(out ${build}/outside_host)
  check_host_output("${out}")

elseif(ARN_MODE STREQUAL "PkgConfig")
  set(ENV{PKG_CONFIG_PATH} ${P}/${ARN_LIBDIR}/pkgconfig)
  run_checked(version ${ARN_PKG_CONFIG} --modversion arnabsposn)
  expect_contains("${version}" "1.0.0" "pkg-config --modversion")
  run_checked(flags ${ARN_PKG_CONFIG} --cflags --libs arnabsposn)
  string(STRIP "${flags}" flags)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  set(got_include FALSE)
  set(got_lib FALSE)
  foreach(flag ${flags})
    if(flag MATCHES "^-I(.+)$")
      file(REAL_PATH "${CMAKE_MATCH_1}" dir)
      if(dir STREQUAL inc)
        set(got_include TRUE)
      endif()
    elseif(flag MATCHES "ArnAbsPosn\\.so$")
      file(REAL_PATH "${flag}" lib)
      if(lib STREQUAL "${P}/${ARN_LIBDIR}/ArnAbsPosn.so")
        set(got_lib TRUE)
      endif()
    endif()
  endforeach()
  if(NOT got_include OR NOT got_lib)
    message(FATAL_ERROR "pkg-config --cflags --libs arnabsposn gave: ${flags}")
  endif()

  run_checked(flags ${ARN_PKG_CONFIG} --cflags --libs arnabsposn-sim)
  string(STRIP "${flags}" flags)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  separate_arguments(cxx_flags UNIX_COMMAND "${ARN_CXX_FLAGS}")
  separate_arguments(link_flags UNIX_COMMAND "${ARN_LINK_FLAGS}")
  set(host ${ARN_WORK_DIR}/pkgconfig-host)
  file(REMOVE ${host})
  run_checked(out ${ARN_CXX} -std=c++20 ${cxx_flags} ${ARN_OUTSIDE_DIR}/OutsideHost.cpp
              -o ${host} ${flags} ${link_flags} -Wl,-rpath,${P}/${ARN_LIBDIR})
  run_checked(out ${host})
  check_host_output("${out}")

else()
  message(FATAL_ERROR "ARN_MODE must be Layout, CMake or PkgConfig, not '${ARN_MODE}'")
endif()
