# What the package installs beyond the programs (each folder installs its own),
# and the .deb that CPack builds from it:  cpack -G DEB  in the build folder.
# Paths are relative to the prefix, which is /usr for the package.
include(GNUInstallDirs)
set(linux_dir ${PROJECT_SOURCE_DIR}/resources/linux)
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/orx-device-manager)

# The command-line program, when the build has it.
if(TARGET orx-esc)
  install(TARGETS orx-esc RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(PROGRAMS ${linux_dir}/orx-device-manager-demo DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${linux_dir}/${ORX_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${linux_dir}/${ORX_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size IN LISTS ORX_ICON_SIZES)
  install(FILES ${ORX_ICON_DIR}/${size}x${size}/apps/${ORX_APP_ID}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
# udev reads rules from /usr/lib, never from the multiarch library folder.
install(FILES ${linux_dir}/60-orx-device-manager.rules DESTINATION lib/udev/rules.d)

# Debian wants the copyright and a compressed changelog beside every package.
set(changelog_gz ${CMAKE_BINARY_DIR}/deb/changelog.gz)
add_custom_command(OUTPUT ${changelog_gz}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/deb
  COMMAND gzip -9nc ${linux_dir}/deb/changelog > ${changelog_gz}
  DEPENDS ${linux_dir}/deb/changelog)
add_custom_target(orx_changelog ALL DEPENDS ${changelog_gz})
install(FILES ${linux_dir}/deb/copyright ${changelog_gz} DESTINATION ${doc_dir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orx-device-manager)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "ORX Device Manager maintainers <maintainers@users.noreply.c-seed-b168d372.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.example.com/orx/device-manager)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "udev")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "configure ORX brushless-motor ESCs over USB
A bench tool for drone builders: it finds an ORX ESC on USB by itself, reads
and writes its settings, updates its firmware and downloads and plots the
flight log of NVQ series ESCs. The package brings a desktop entry, a udev
rule that lets the user at the desk open the adapters and the DFU boot
loader, and orx-esc-sim, a simulated ESC to try the program without one
(orx-device-manager-demo starts both).")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${linux_dir}/deb/postinst ${linux_dir}/deb/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
