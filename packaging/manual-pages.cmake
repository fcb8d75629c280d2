# Manual pages are installed compressed, as Debian wants them.
#   install_manual_page(PAGE SECTION): PAGE, in the calling directory's source.
function(install_manual_page page section)
  set(compressed ${CMAKE_CURRENT_BINARY_DIR}/${page}.gz)
  add_custom_command(OUTPUT ${compressed}
    COMMAND sh -c "gzip -9n < \"$0\" > \"$1\"" ${CMAKE_CURRENT_SOURCE_DIR}/${page} ${compressed}
    DEPENDS ${page} VERBATIM)
  add_custom_target(manual-page-${page} ALL DEPENDS ${compressed})
  install(FILES ${compressed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
endfunction()
