# FindGeographicLib: the geodesic library, as the imported target GeographicLib::GeographicLib.
#
# Uses the package's own CMake configuration where it installs one; otherwise finds the header
# and the library (Debian 12 ships only those, a pkg-config file and a find module outside
# CMake's search path).
find_package(GeographicLib CONFIG QUIET)
if(GeographicLib_FOUND AND TARGET GeographicLib::GeographicLib)
    return()
endif()

find_path(GeographicLib_INCLUDE_DIR GeographicLib/Geodesic.hpp)
find_library(GeographicLib_LIBRARY NAMES GeographicLib)
include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(GeographicLib
    REQUIRED_VARS GeographicLib_LIBRARY GeographicLib_INCLUDE_DIR)
mark_as_advanced(GeographicLib_INCLUDE_DIR GeographicLib_LIBRARY)

if(GeographicLib_FOUND AND NOT TARGET GeographicLib::GeographicLib)
    add_library(GeographicLib::GeographicLib UNKNOWN IMPORTED)
    set_target_properties(GeographicLib::GeographicLib PROPERTIES
        IMPORTED_LOCATION "${GeographicLib_LIBRARY}"
        INTERFACE_INCLUDE_DIRECTORIES "${GeographicLib_INCLUDE_DIR}")
endif()
