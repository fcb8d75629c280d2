# Run by CPack once it has made the Debian package: adds the field
# Static-Built-Using (the sources of the libraries linked into the image,
# CPACK_DEBIAN_STATIC_BUILT_USING) to the package's control file, and opens
# the directories that CPack made under the umask.
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
  set(tree ${deb}.tree)
  file(REMOVE_RECURSE ${tree})
  execute_process(COMMAND dpkg-deb -R ${deb} ${tree} COMMAND_ERROR_IS_FATAL ANY)
  file(READ ${tree}/DEBIAN/control control)
  string(STRIP "${control}" control)
  file(WRITE ${tree}/DEBIAN/control
       "${control}\nStatic-Built-Using: ${CPACK_DEBIAN_STATIC_BUILT_USING}\n")
  # directories of mode 0755 whatever the umask, those CPack made included
  file(GLOB_RECURSE entries LIST_DIRECTORIES true ${tree}/*)
  foreach(entry IN ITEMS ${tree} LISTS entries)
    if(IS_DIRECTORY ${entry} AND NOT IS_SYMLINK ${entry})
      file(CHMOD ${entry} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
           GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    endif()
  endforeach()
  execute_process(COMMAND dpkg-deb --root-owner-group -Zxz -b ${tree} ${deb}
                  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE ${tree})
endforeach()
