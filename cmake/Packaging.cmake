# Install rules and the Debian packages, after every folder is added.
#
#   cmake --install build --prefix DIR     installs both parts
#   scripts/package                        makes the two packages with CPack:
#     zorv52-client  the shell, the module and its outside libraries, data,
#                    menu entry, icon, fonts alias, manual pages
#     zorv52-server  the daemon, its systemd unit and system user
#
# Every file belongs to one component (client or server), which is its package.
# The layout (bin/, sbin/, lib/<triplet>/zorv52, share/zorv52) is cmake/InstallDirs.cmake's.

# The client's programs in bin/. A new tool of the client joins the package by
# its target name here (and its manual page in data/man).
set(ZORV_CLIENT_PROGRAMS steward doc2emf)
# The program modules and the outside libraries they load by name, side by
# side in the module folder (their names are how the modules find them). The
# modules are those of the print programs the top CMakeLists.txt registers
# (zorv_program); programs of the tests (under tests/) are never packaged.
get_property(zorv_program_folders GLOBAL PROPERTY ZORV_PROGRAM_FOLDERS)
get_property(zorv_programs GLOBAL PROPERTY ZORV_PROGRAMS)
set(ZORV_PACKAGED_PROGRAMS)
foreach(folder code IN ZIP_LISTS zorv_program_folders zorv_programs)
  if(NOT folder MATCHES "^tests/")
    list(APPEND ZORV_PACKAGED_PROGRAMS ${code})
  endif()
endforeach()
list(TRANSFORM ZORV_PACKAGED_PROGRAMS APPEND C OUTPUT_VARIABLE zorv_program_modules)
set(ZORV_MODULE_LIBRARIES ${zorv_program_modules} Hvlanguage HVDownLoad HVBmpToFile LinkPlanner ZORV52S)
# The folders of data/ that the installed programs read, whole, under share/zorv52
# (the build folder reaches all of data/ by the same path). Missing ones are skipped.
set(ZORV_SHARED_DATA_FOLDERS help MultiLanguage)

foreach(target IN LISTS ZORV_CLIENT_PROGRAMS ZORV_MODULE_LIBRARIES steward-appserver)
  if(NOT TARGET ${target})
    message(FATAL_ERROR "install rules: no target ${target} (cmake/Packaging.cmake)")
  endif()
endforeach()

# Nothing installed links another of the project's shared objects (the module
# and the libraries are opened by path), so installed files carry no RPATH:
# CMake drops the build folder's at install time.
set(zorv_library_permissions OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

install(TARGETS ${ZORV_CLIENT_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT client)
install(PROGRAMS ${PROJECT_SOURCE_DIR}/data/desktop/zorv52 DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT client)
# Shared objects are not executables: 0644, as Debian wants them.
install(TARGETS ${ZORV_MODULE_LIBRARIES} LIBRARY DESTINATION ${ZORV_INSTALL_MODULEDIR}
        PERMISSIONS ${zorv_library_permissions} COMPONENT client)
install(TARGETS steward-appserver RUNTIME DESTINATION ${CMAKE_INSTALL_SBINDIR} COMPONENT server)
# The descriptor of each packaged program, beside its module: the in-process
# server, the daemon and the demo home learn the programs there. The server
# package has its own copy in the shared data folder (another path, so the two
# packages never hold the same file): a daemon installed alone still knows
# the programs it serves and their count columns.
foreach(code IN LISTS ZORV_PACKAGED_PROGRAMS)
  install(FILES ${CMAKE_LIBRARY_OUTPUT_DIRECTORY}/programs/${code}.txt
          DESTINATION ${ZORV_INSTALL_MODULEDIR}/programs PERMISSIONS ${zorv_library_permissions}
          COMPONENT client)
  install(FILES ${CMAKE_LIBRARY_OUTPUT_DIRECTORY}/programs/${code}.txt
          DESTINATION ${ZORV_INSTALL_DATADIR}/programs PERMISSIONS ${zorv_library_permissions}
          COMPONENT server)
endforeach()

foreach(folder IN LISTS ZORV_SHARED_DATA_FOLDERS)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/${folder} DESTINATION ${ZORV_INSTALL_DATADIR}
          COMPONENT client OPTIONAL)
endforeach()

# Links made at install time, relative to the place they stand in. DESTDIR and
# the prefix are those of the install run (CPack's /usr, or --prefix).
function(zorv_install_link link target component)
  install(CODE "
    set(zorv_link \"\${CMAKE_INSTALL_PREFIX}/${link}\")
    get_filename_component(zorv_dir \"\${zorv_link}\" DIRECTORY)
    file(RELATIVE_PATH zorv_target \"\${zorv_dir}\" \"\${CMAKE_INSTALL_PREFIX}/${target}\")
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${zorv_dir}\")
    message(STATUS \"Installing: \$ENV{DESTDIR}\${zorv_link} -> \${zorv_target}\")
    file(CREATE_LINK \"\${zorv_target}\" \"\$ENV{DESTDIR}\${zorv_link}\" SYMBOLIC)
  " COMPONENT ${component})
endfunction()

# The module opens help/<PROGRAM>.html in its own folder.
zorv_install_link(${ZORV_INSTALL_MODULEDIR}/help ${ZORV_INSTALL_DATADIR}/help client)

# Menu entry and icon.
install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/zorv52.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT client)
install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/zorv52.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT client)
install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/zorv52-48.png RENAME zorv52.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps COMPONENT client)

# The Windows font names of forms and reports, for every program of the system
# (the programs of the suite load the same aliases themselves). fontconfig
# reads /etc/fonts/conf.d, which only a package for the prefix /usr may touch
# (an absolute link: Debian wants one between top-level folders).
set(zorv_font_alias 65-zorv52-chinese-aliases.conf)
install(FILES ${PROJECT_SOURCE_DIR}/data/fontconfig/steward-fonts.conf RENAME ${zorv_font_alias}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/fontconfig/conf.avail COMPONENT client)
install(CODE "
  if(CMAKE_INSTALL_PREFIX STREQUAL \"/usr\")
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}/etc/fonts/conf.d\")
    message(STATUS \"Installing: \$ENV{DESTDIR}/etc/fonts/conf.d/${zorv_font_alias}\")
    file(CREATE_LINK \"/usr/${CMAKE_INSTALL_DATADIR}/fontconfig/conf.avail/${zorv_font_alias}\"
         \"\$ENV{DESTDIR}/etc/fonts/conf.d/${zorv_font_alias}\" SYMBOLIC)
  endif()
" COMPONENT client)

# Compressed documents: manual pages, changelogs (Debian wants gzip -9n: no
# name or time stamp, so the same text gives the same bytes).
find_program(ZORV_GZIP gzip REQUIRED)
set(zorv_gz_dir ${PROJECT_BINARY_DIR}/packaging)
set(zorv_gz_outputs)
function(zorv_gzip source output)
  add_custom_command(OUTPUT ${output}
    COMMAND ${ZORV_GZIP} -9n -c ${source} > ${output}
    DEPENDS ${source} VERBATIM)
  set(zorv_gz_outputs ${zorv_gz_outputs} ${output} PARENT_SCOPE)
endfunction()

# Manual pages: data/man/<name>.<section>; the daemon's goes with the server.
file(GLOB zorv_man_pages CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/data/man/*.[1-8])
foreach(page IN LISTS zorv_man_pages)
  get_filename_component(name ${page} NAME)
  string(REGEX REPLACE ".*\\.([1-8])$" "\\1" section ${name})
  zorv_gzip(${page} ${zorv_gz_dir}/man/${name}.gz)
  set(component client)
  if(name MATCHES "^steward-appserver\\.")
    set(component server)
  endif()
  install(FILES ${zorv_gz_dir}/man/${name}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section}
          COMPONENT ${component})
endforeach()

# Each package's own copyright and changelog under share/doc/<package>.
set(ZORV_DEB_CLIENT zorv52-client)
set(ZORV_DEB_SERVER zorv52-server)
file(STRINGS ${PROJECT_SOURCE_DIR}/cmake/debian/changelog zorv_changelog_head LIMIT_COUNT 1)
if(NOT zorv_changelog_head MATCHES "^zorv52 \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "cmake/debian/changelog: the first entry is not version ${PROJECT_VERSION}")
endif()
zorv_gzip(${PROJECT_SOURCE_DIR}/cmake/debian/changelog ${zorv_gz_dir}/changelog.gz)
foreach(part client server)
  string(TOUPPER ${part} PART)
  set(docdir ${CMAKE_INSTALL_DATADIR}/doc/${ZORV_DEB_${PART}})
  install(FILES ${PROJECT_SOURCE_DIR}/cmake/debian/copyright ${zorv_gz_dir}/changelog.gz
          DESTINATION ${docdir} COMPONENT ${part})
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${ZORV_DEB_CLIENT}
        COMPONENT client)
install(FILES ${PROJECT_SOURCE_DIR}/cmake/debian/README.PostgreSQL
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${ZORV_DEB_SERVER} COMPONENT server)
install(FILES ${PROJECT_SOURCE_DIR}/cmake/debian/StewardS.ini
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${ZORV_DEB_SERVER}/examples COMPONENT server)

# systemd units of data/systemd: the daemon's (steward-appserver*) go with the
# server, every other one (timers of scheduled runs) with the client; units in
# data/systemd/user are user units. All are shipped disabled. A unit named
# *.in has @bindir@ and @sbindir@ replaced by the install run's folders.
function(zorv_install_unit source destination component)
  get_filename_component(name ${source} NAME)
  if(NOT name MATCHES "\\.in$")
    install(FILES ${source} DESTINATION ${destination} COMPONENT ${component})
    return()
  endif()
  string(REGEX REPLACE "\\.in$" "" unit ${name})
  install(CODE "
    set(bindir \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    set(sbindir \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_SBINDIR}\")
    configure_file(\"${source}\" \"${PROJECT_BINARY_DIR}/packaging/units/${unit}\" @ONLY)
    file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${destination}\" TYPE FILE
         FILES \"${PROJECT_BINARY_DIR}/packaging/units/${unit}\")
  " COMPONENT ${component})
endfunction()
file(GLOB zorv_units CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/data/systemd/*.service*
     ${PROJECT_SOURCE_DIR}/data/systemd/*.timer*)
foreach(unit IN LISTS zorv_units)
  get_filename_component(name ${unit} NAME)
  if(name MATCHES "^steward-appserver")
    zorv_install_unit(${unit} lib/systemd/system server)
  else()
    zorv_install_unit(${unit} lib/systemd/system client)
  endif()
endforeach()
file(GLOB zorv_user_units CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/data/systemd/user/*.service*
     ${PROJECT_SOURCE_DIR}/data/systemd/user/*.timer*)
foreach(unit IN LISTS zorv_user_units)
  zorv_install_unit(${unit} lib/systemd/user client)
endforeach()

add_custom_target(zorv_package_files ALL DEPENDS ${zorv_gz_outputs})
# Everything the install rules take, and nothing else (no tests, no
# benchmarks): scripts/package builds this before CPack installs. Installing
# (cmake --install, CPack) builds nothing itself, so that packages can be made
# without building the tests: build zorv_packaged (or all) first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
add_custom_target(zorv_packaged)
add_dependencies(zorv_packaged zorv_package_files ${ZORV_CLIENT_PROGRAMS} ${ZORV_MODULE_LIBRARIES} steward-appserver)

# ---- CPack: one Debian package per component ---------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zorv52)
set(CPACK_PACKAGE_VENDOR "ZORV52 team")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
set(ZORV_PACKAGE_MAINTAINER "ZORV52 team <zorv52@example.org>" CACHE STRING
    "Maintainer field of the Debian packages")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${ZORV_PACKAGE_MAINTAINER})
# Absolute destinations (/etc/fonts/conf.d) land in the package, not on this machine.
set(CPACK_SET_DESTDIR ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL client server)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the binaries link, as versioned Depends (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)

set(CPACK_DEBIAN_CLIENT_PACKAGE_NAME ${ZORV_DEB_CLIENT})
# Beside the linked libraries: a Song/Ming face for "SimSun" (texts of every
# slip), found through the fonts alias, not by the linker.
set(CPACK_DEBIAN_CLIENT_PACKAGE_DEPENDS "fonts-arphic-uming | fonts-noto-cjk")
set(CPACK_DEBIAN_CLIENT_PACKAGE_RECOMMENDS "fonts-wqy-microhei, qt6-translations-l10n, xdg-utils")
set(CPACK_DEBIAN_CLIENT_PACKAGE_SUGGESTS "${ZORV_DEB_SERVER}, libreoffice-writer, hylafax-client, cups")
set(CPACK_DEBIAN_CLIENT_DESCRIPTION "work-order change slips of the ERP suite (client)
ZORV52 prints the work-order change slips of a Chinese-language ERP suite: an
options window for criteria (slip type, number, version, dates, statuses),
preview, printing, pictures and PDF, e-mail and fax, condition schemes and a
layout designer. It runs on an embedded SQLite database, or on PostgreSQL
through the application server of the zorv52-server package.
This package holds the client shell steward, the program module, the outside
libraries it loads by name, help and language files, the menu entry and the
fonts alias for the Windows Chinese font names.")

set(CPACK_DEBIAN_SERVER_PACKAGE_NAME ${ZORV_DEB_SERVER})
set(CPACK_DEBIAN_SERVER_PACKAGE_DEPENDS "adduser")
set(CPACK_DEBIAN_SERVER_PACKAGE_SUGGESTS "postgresql")
set(CPACK_DEBIAN_SERVER_DESCRIPTION "work-order change slips of the ERP suite (application server)
The application server steward-appserver serves ZORV52 clients over the
network from a SQLite or PostgreSQL database: shared-secret authentication,
optional TLS, one thread and database connection per client.

This package holds the daemon, its systemd unit (installed disabled), the
system user steward with its home /var/lib/steward, and notes on setting the
server up on PostgreSQL.")
set(CPACK_DEBIAN_SERVER_PACKAGE_CONTROL_EXTRA
    ${PROJECT_SOURCE_DIR}/cmake/debian/server/postinst
    ${PROJECT_SOURCE_DIR}/cmake/debian/server/prerm
    ${PROJECT_SOURCE_DIR}/cmake/debian/server/postrm)

include(CPack)
cpack_add_component(client DISPLAY_NAME "Client")
cpack_add_component(server DISPLAY_NAME "Application server")
