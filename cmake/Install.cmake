# Install rules: the component, its public headers, the programs, and a CMake package and
# pkg-config files so that outside hosts build against an installed copy.
#
#   cmake --install build/release --prefix P
#
# P/lib/ArnAbsPosn.so          the component (the product layers)
# P/lib/libarnabsposn_sim.a    the simulated drive, for hosts without a real node library
# P/include/arnabsposn/...     headers by layer folder; they include each other as
#                              "core/Event.h", so P/include/arnabsposn goes on the include path
# P/bin/                       arnreg and the host programs
# P/lib/cmake/ArnAbsPosn/      find_package(ArnAbsPosn CONFIG): ArnAbsPosn::ArnAbsPosn and
#                              ArnAbsPosn::Sim
# P/lib/pkgconfig/             arnabsposn.pc, arnabsposn-sim.pc
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(ARN_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/arnabsposn)
set(ARN_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/ArnAbsPosn)
set(ARN_INSTALL_PKGCONFIGDIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# The simulated drive as one archive over the component: its objects only, the layers it uses
# come from ArnAbsPosn.so, so a host has one copy of the trace and registry state.
add_library(ArnAbsPosnSim STATIC $<TARGET_OBJECTS:arn_sim>)
add_dependencies(ArnAbsPosnSim arn_sim)
set_target_properties(ArnAbsPosnSim PROPERTIES OUTPUT_NAME arnabsposn_sim EXPORT_NAME Sim)
target_link_libraries(ArnAbsPosnSim PUBLIC ArnAbsPosn)

# The component loads SQLite for the registry database. A consumer links it too, so that a
# linker that does not follow the component's own dependencies (an SQLite outside the default
# search path, a cross sysroot) still resolves them.
target_link_libraries(ArnAbsPosn INTERFACE $<INSTALL_INTERFACE:$<LINK_ONLY:SQLite::SQLite3>>)

install(TARGETS ArnAbsPosn ArnAbsPosnSim EXPORT ArnAbsPosnTargets
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        INCLUDES DESTINATION ${ARN_INSTALL_INCLUDEDIR})

# Every header of the product layers and the simulated drive; the operating-system folders hold
# implementation only, and test doubles live outside these folders.
install(DIRECTORY core draw platform toolkit host support inputs panel sim
        DESTINATION ${ARN_INSTALL_INCLUDEDIR}
        FILES_MATCHING PATTERN "*.h"
        PATTERN "posix" EXCLUDE
        PATTERN "win32" EXCLUDE)

set(arn_programs arnreg)
foreach(program arn_console arn_qt)
  if(TARGET ${program})
    list(APPEND arn_programs ${program})
  endif()
endforeach()
install(TARGETS ${arn_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(EXPORT ArnAbsPosnTargets NAMESPACE ArnAbsPosn:: DESTINATION ${ARN_INSTALL_CMAKEDIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/ArnAbsPosnConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/ArnAbsPosnConfig.cmake
                              INSTALL_DESTINATION ${ARN_INSTALL_CMAKEDIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/ArnAbsPosnConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/ArnAbsPosnConfig.cmake
              ${PROJECT_BINARY_DIR}/ArnAbsPosnConfigVersion.cmake
        DESTINATION ${ARN_INSTALL_CMAKEDIR})

# The pkg-config files find the prefix from their own folder, so the tree can be moved and
# installed with --prefix after configuring. They name the file a linker takes for the
# component (ArnAbsPosn.so here, the import library where the component is a DLL).
file(RELATIVE_PATH ARN_PC_TO_PREFIX /${ARN_INSTALL_PKGCONFIGDIR} /)
string(REGEX REPLACE "/$" "" ARN_PC_TO_PREFIX "${ARN_PC_TO_PREFIX}")
foreach(pc arnabsposn arnabsposn-sim)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/${pc}.pc.in ${PROJECT_BINARY_DIR}/${pc}.pc.gen @ONLY)
  file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/${pc}.pc INPUT ${PROJECT_BINARY_DIR}/${pc}.pc.gen)
  install(FILES ${PROJECT_BINARY_DIR}/${pc}.pc DESTINATION ${ARN_INSTALL_PKGCONFIGDIR})
endforeach()
