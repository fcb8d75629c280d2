# The components that the installer's image carries linked into itself, with
# the Debian package whose static library is linked and the licence.  From
# them come the notices that `zorvane-installer --licenses` prints, the
# Static-Built-Using field of the kit's package and, kept by hand beside
# them, packaging/copyright.
set(IMAGE_COMPONENTS
  "GNU C Library|libc6-dev|LGPL-2.1+"
  "GNU C++ library and GCC runtime (libstdc++, libgcc)|libstdc++-12-dev|GPL-3+ with GCC Runtime Library Exception"
  "Motif (libXm)|libmotif-dev|LGPL-2+"
  "X Toolkit Intrinsics (libXt)|libxt-dev|MIT/X11"
  "Xlib (libX11)|libx11-dev|MIT/X11"
  "X C Binding (libxcb)|libxcb1-dev|MIT/X11"
  "X authorization (libXau)|libxau-dev|MIT/X11"
  "X display manager control (libXdmcp)|libxdmcp-dev|MIT/X11"
  "X extensions (libXext)|libxext-dev|MIT/X11"
  "X session management (libSM)|libsm-dev|MIT/X11"
  "Inter-Client Exchange (libICE)|libice-dev|MIT/X11"
  "X miscellaneous utilities (libXmu)|libxmu-dev|MIT/X11"
  "X PixMap (libXpm)|libxpm-dev|MIT/X11"
  "zlib|zlib1g-dev|Zlib"
  "Zstandard (libzstd)|libzstd-dev|BSD-3-clause"
  "libbsd|libbsd-dev|BSD-3-clause, BSD-2-clause, ISC and Expat"
  "libmd|libmd-dev|BSD-3-clause, BSD-2-clause, ISC and public domain"
  "libuuid (util-linux)|uuid-dev|BSD-3-clause"
)

# Where this project's source can be had, as the notices and the package's
# copyright file say.
set(ZORVANE_SOURCE_URL "https://telquist.example/zorvane-installer/source" CACHE STRING
    "Where the source of the installer kit can be had")
set(ZORVANE_MAINTAINER "Telquist Software <kit@telquist.example>" CACHE STRING
    "The maintainer of the kit's Debian package, with an address")

# The source package and version of Debian package $package, from dpkg, in
# the variables named by source_var and version_var ("unknown" without dpkg).
function(debian_source package source_var version_var)
  execute_process(COMMAND dpkg-query -W "-f=\${source:Package} \${source:Version}" ${package}
                  OUTPUT_VARIABLE found RESULT_VARIABLE status ERROR_QUIET)
  if(status EQUAL 0 AND found MATCHES "^([^ ]+) ([^ ]+)$")
    set(${source_var} ${CMAKE_MATCH_1} PARENT_SCOPE)
    set(${version_var} ${CMAKE_MATCH_2} PARENT_SCOPE)
  else()
    set(${source_var} ${package} PARENT_SCOPE)
    set(${version_var} unknown PARENT_SCOPE)
  endif()
endfunction()

# IMAGE_COMPONENT_TABLE: a paragraph a component for the notices.
# IMAGE_STATIC_BUILT_USING: the sources as Static-Built-Using lists them.
set(IMAGE_COMPONENT_TABLE "")
set(built_using "")
foreach(component IN LISTS IMAGE_COMPONENTS)
  string(REPLACE "|" ";" fields "${component}")
  list(GET fields 0 name)
  list(GET fields 1 package)
  list(GET fields 2 licence)
  debian_source(${package} source version)
  string(APPEND IMAGE_COMPONENT_TABLE "  ${name}\n    licence: ${licence}\n"
         "    source: the Debian source package ${source} ${version},\n"
         "      https://snapshot.debian.org/package/${source}/${version}/\n")
  list(APPEND built_using "${source} (= ${version})")
endforeach()
list(REMOVE_DUPLICATES built_using)
list(JOIN built_using ", " IMAGE_STATIC_BUILT_USING)
